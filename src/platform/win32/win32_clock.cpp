#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace kolvi::win32 {

LocalTime Win32Clock::now() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond, civilDay(t.wYear, t.wMonth, t.wDay)};
}

}  // namespace kolvi::win32
