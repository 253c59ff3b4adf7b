#pragma once
// When the open list next has an alarm to fire, and when a row last came due:
// the alarm check's matching rules (weekday text, time text, latch) turned
// into absolute moments, for the wake timer, the handling of skipped seconds
// and the next-alarm line.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/clock.h"
#include "store/alarm_list.h"

namespace kolvi {

// Seconds since midnight of a time column text ("H:M:S", each field decimal
// with an optional minus sign) that names a real time of day; nullopt for a
// time no clock shows (hour above 23, minute or second above 59, negative),
// which only a hand-edited file can hold.
std::optional<int> secondOfDay(std::string_view time);

// A row's weekdays and time of day, read from its day and time column texts
// as the check reads them.
struct RowSchedule {
    std::uint8_t days = 0;  // bit 0 Sunday ... bit 6 Saturday
    int secondOfDay = 0;
};
// nullopt for a row that can never come due, checked or not: no weekday, or
// a time no clock shows (hour above 23 and the like).
std::optional<RowSchedule> rowSchedule(const AlarmRow& row);

struct DueAlarm {
    std::uint64_t id = 0;  // the row
    std::int64_t at = 0;   // localSeconds of the due moment
    friend bool operator==(const DueAlarm&, const DueAlarm&) = default;
};

// The next moment a checked row of the open list comes due, from now's second
// on and at most seven days after today. A row due in now's second counts as
// due now unless it already fired in it (latched); one that fired goes on to
// its next day. On a tie the upper row wins, as the check fires it first.
// Moments count from now.day, and the weekdays from now.weekday. nullopt when
// no file is open or no row will ever come due.
std::optional<DueAlarm> nextDue(const AlarmList& list, const LocalTime& now);

// The latest moment the schedule came due after `after` and before now, both
// excluded; nullopt when there is none in that span. Looks back seven days at
// most, which covers every weekday.
std::optional<std::int64_t> lastDueBefore(const RowSchedule& schedule, const LocalTime& now, std::int64_t after);

}  // namespace kolvi
