#pragma once
// The local wall clock, read once per tick.

namespace kolvi {

struct LocalTime {
    int weekday = 0;  // 0 Sunday ... 6 Saturday
    int hour = 0;     // 0-23
    int minute = 0;   // 0-59
    int second = 0;   // 0-59
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
};

}  // namespace kolvi
