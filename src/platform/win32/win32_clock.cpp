#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace kolvi::win32 {

LocalTime Win32Clock::now() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond, civilDay(t.wYear, t.wMonth, t.wDay)};
}

std::uint64_t Win32Clock::milliseconds() const { return GetTickCount64(); }

}  // namespace kolvi::win32
