#pragma once
#include <windows.h>

#include "platform/wake_timer.h"
#include "platform/win32/unique_handle.h"

namespace kolvi::win32 {

// One waitable timer with resume, made on first use, and the thread's
// execution state for the time after a wake.
class Win32WakeTimer final : public WakeTimer {
public:
    bool arm(std::int64_t localSeconds) override;
    void cancel() override;
    void keepAwake(bool on) override;
    void wakeDisplay() override;
    // For tests: the timer's handle (null before the first arm).
    HANDLE handle() const { return timer_.get(); }

private:
    UniqueKernelHandle timer_;
};

// The UTC moment of a local one, as the system's time-zone rules give it.
bool localSecondsToFileTime(std::int64_t localSeconds, FILETIME& utc);

}  // namespace kolvi::win32
