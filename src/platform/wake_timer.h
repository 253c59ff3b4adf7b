#pragma once
// A timer that wakes the machine from sleep at a local moment, so that an
// alarm is not slept through. Only one moment is armed at a time.
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
};

}  // namespace kolvi
