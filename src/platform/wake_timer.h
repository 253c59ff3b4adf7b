#pragma once
// A timer that wakes the machine from sleep at a local moment, so that an
// alarm is not slept through, and the requests that keep a woken machine up
// for it. Only one moment is armed at a time.
#include <cstdint>

namespace kolvi {

class WakeTimer {
public:
    virtual ~WakeTimer() = default;
    // Arms (or moves) the timer to localSeconds (see platform/clock.h);
    // false when the system refuses to wake for it, which changes nothing
    // else.
    virtual bool arm(std::int64_t localSeconds) = 0;
    virtual void cancel() = 0;
    // true: the system does not sleep on its own until called with false.
    virtual void keepAwake(bool on) = 0;
    // Switches the display on once, as user input would.
    virtual void wakeDisplay() = 0;
};

}  // namespace kolvi
