#pragma once
#include "platform/clock.h"

namespace kolvi::win32 {

class Win32Clock final : public Clock {
public:
    LocalTime now() const override;
    std::uint64_t milliseconds() const override;
};

}  // namespace kolvi::win32
