#include "schedule/next_due.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/alarm_lines.h"

namespace kolvi {
namespace {

using namespace test;

TEST(LocalTime, CalendarDaysAndSecondsRoundTrip) {
    EXPECT_EQ(civilDay(1970, 1, 1), 0);
    EXPECT_EQ(civilDay(2024, 3, 1) - civilDay(2024, 2, 28), 2);  // a leap day between
    const std::int64_t leapNoon = civilDay(2024, 2, 29) * kSecondsPerDay + 12 * 3600 + 34 * 60 + 56;
    EXPECT_EQ(localTimeAt(leapNoon), (LocalTime{4, 12, 34, 56, civilDay(2024, 2, 29)}));  // a Thursday
    EXPECT_EQ(localTimeAt(-1), (LocalTime{3, 23, 59, 59, -1}));                           // Wednesday 1969-12-31
    for (const std::int64_t seconds : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{86399}, leapNoon}) {
        EXPECT_EQ(localSeconds(localTimeAt(seconds)), seconds);
    }
}

TEST(NextDue, EarliestMomentOfACheckedRowWithinAWeek) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        LocalTime now;
        bool firstLatched;
        const char* name;  // nullptr: nothing is due
        std::int64_t in;   // seconds from now
    };
    const LocalTime monday10 = at(kMonday, "10:00:00");
    const Case cases[] = {
        {"later today", {alarmLine("a", "10:05:00")}, monday10, false, "a", 300},
        {"across midnight", {alarmLine("a", "00:10:00", "0010000")}, at(kMonday, "23:59:00"), false, "a", 660},
        {"Saturday into Sunday", {alarmLine("a", "08:00:00", "1000000")}, at(kSaturday, "23:00:00"), false, "a",
         9 * 3600},
        {"passed today: next week", {alarmLine("a", "09:00:00", "0100000")}, monday10, false, "a", 7 * 86400 - 3600},
        {"due now, not fired yet", {alarmLine("a", "10:00:00")}, monday10, false, "a", 0},
        {"fired in this second", {alarmLine("a", "10:00:00", "0100000")}, monday10, true, "a", 7 * 86400},
        {"the earliest row", {alarmLine("late", "11:00:00"), alarmLine("early", "10:30:00")}, monday10, false,
         "early", 1800},
        {"a tie goes to the upper row", {alarmLine("upper", "10:30:00"), alarmLine("lower", "10:30:00")}, monday10,
         false, "upper", 1800},
        {"never due: unchecked, no weekday, impossible times",
         {"0,off,1,1,1,1,1,1,1,10,00,01,,0", alarmLine("none", "10:00:01", "0000000"),
          "1,hour,1,1,1,1,1,1,1,24,00,00,,0", "1,minute,1,1,1,1,1,1,1,10,60,00,,0", alarmLine("real", "10:00:02")},
         monday10, false, "real", 2},
        {"nothing ever due", {alarmLine("none", "10:00:00", "0000000")}, monday10, false, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AlarmList list = openList(c.lines);
        if (c.firstLatched) list.setGhosted(0, true);
        const std::optional<DueAlarm> due = nextDue(list, c.now);
        ASSERT_EQ(due.has_value(), c.name != nullptr);
        if (!due) continue;
        EXPECT_EQ(nameOf(list, due->id), c.name);
        EXPECT_EQ(due->at - localSeconds(c.now), c.in);
    }
    AlarmList closed = openList({alarmLine("a", "10:05:00")});
    closed.setTag("");
    EXPECT_FALSE(nextDue(closed, monday10));
}

}  // namespace
}  // namespace kolvi
