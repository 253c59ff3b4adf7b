#pragma once
#include <windows.h>

#include "platform/desktop.h"

namespace kolvi::win32 {

class Win32Desktop final : public Desktop {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    std::string askOpenAlarmFile() override;
    std::string askSaveAlarmFile(std::string_view title) override;
    bool confirm(std::string_view text) override;
    void showInformation(std::string_view title, std::string_view text) override;
    std::string askOpenAnyFile(OwnerWindow owner, const std::string& folder) override;
    void showBox(OwnerWindow owner, std::string_view text, BoxIcon icon) override;
    void showAlarmMessage(std::string_view name) override;
    bool startSystemProgram(std::string_view program, std::string_view arguments) override;
    bool openWithShell(std::string_view path) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace kolvi::win32
