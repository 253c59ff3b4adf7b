#pragma once
// The local wall clock, read once per tick, and a monotonic count for short spans.
#include <chrono>
#include <cstdint>

namespace kolvi {

inline constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

struct LocalTime {
    int weekday = 0;  // 0 Sunday ... 6 Saturday
    int hour = 0;     // 0-23
    int minute = 0;   // 0-59
    int second = 0;   // 0-59
    // Days since 1970-01-01 on the local calendar, so that two moments can be
    // compared across midnight and across weeks. Only moments taken from the
    // same clock are compared; weekday stays what the check matches.
    std::int64_t day = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// Days since 1970-01-01 of a date on the proleptic Gregorian calendar.
constexpr std::int64_t civilDay(int year, unsigned month, unsigned dayOfMonth) {
    return std::chrono::sys_days{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{dayOfMonth}}
        .time_since_epoch()
        .count();
}

// Seconds since 1970-01-01 00:00:00 local time (no time zone: a clock change
// moves the count as it moves the wall clock).
constexpr std::int64_t localSeconds(const LocalTime& time) {
    return time.day * kSecondsPerDay + time.hour * 3600 + time.minute * 60 + time.second;
}

// The moment of a localSeconds count; its weekday follows from the day
// (1970-01-01 was a Thursday).
constexpr LocalTime localTimeAt(std::int64_t seconds) {
    const std::int64_t day = (seconds >= 0 ? seconds : seconds - (kSecondsPerDay - 1)) / kSecondsPerDay;
    const auto ofDay = static_cast<int>(seconds - day * kSecondsPerDay);
    return {static_cast<int>(((day + 4) % 7 + 7) % 7), ofDay / 3600, ofDay / 60 % 60, ofDay % 60, day};
}

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
    // A monotonic millisecond count, for spans shorter than a tick.
    virtual std::uint64_t milliseconds() const = 0;
};

}  // namespace kolvi
