#include "platform/win32/win32_wake_timer.h"

#include <chrono>

#include "platform/clock.h"

namespace kolvi::win32 {

bool localSecondsToFileTime(std::int64_t localSeconds, FILETIME& utc) {
    const LocalTime local = localTimeAt(localSeconds);
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{local.day}}};
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(static_cast<int>(date.year()));
    time.wMonth = static_cast<WORD>(static_cast<unsigned>(date.month()));
    time.wDay = static_cast<WORD>(static_cast<unsigned>(date.day()));
    time.wHour = static_cast<WORD>(local.hour);
    time.wMinute = static_cast<WORD>(local.minute);
    time.wSecond = static_cast<WORD>(local.second);
    SYSTEMTIME utcTime{};
    return TzSpecificLocalTimeToSystemTime(nullptr, &time, &utcTime) && SystemTimeToFileTime(&utcTime, &utc);
}

bool Win32WakeTimer::arm(std::int64_t localSeconds) {
    if (!timer_) timer_.reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
    FILETIME utc{};
    if (!timer_ || !localSecondsToFileTime(localSeconds, utc)) return false;
    LARGE_INTEGER due{};
    due.LowPart = utc.dwLowDateTime;
    due.HighPart = static_cast<LONG>(utc.dwHighDateTime);
    // A positive due time is an absolute UTC moment.
    SetLastError(ERROR_SUCCESS);
    if (!SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, TRUE)) return false;
    return GetLastError() != ERROR_NOT_SUPPORTED;  // set, but the system will not wake for it
}

void Win32WakeTimer::cancel() {
    if (timer_) CancelWaitableTimer(timer_.get());
}

void Win32WakeTimer::keepAwake(bool on) { SetThreadExecutionState(ES_CONTINUOUS | (on ? ES_SYSTEM_REQUIRED : 0)); }

// Without ES_CONTINUOUS this only resets the display's idle timer once.
void Win32WakeTimer::wakeDisplay() { SetThreadExecutionState(ES_DISPLAY_REQUIRED); }

}  // namespace kolvi::win32
