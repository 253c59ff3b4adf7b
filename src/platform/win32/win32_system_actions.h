#pragma once
// The real system actions. Never used by tests: under Wine a log-off or
// shutdown ends every program of the prefix.
#include "platform/system_actions.h"

namespace kolvi::win32 {

class Win32SystemActions final : public SystemActions {
public:
    void lockWorkStation() override;
    void logOff() override;
    void powerOff() override;
    void reboot() override;
    void typeKeys(const std::vector<KeyInput>& keys) override;
};

}  // namespace kolvi::win32
