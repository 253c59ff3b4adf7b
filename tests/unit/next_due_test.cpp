// When alarms come due: the next due moment, the next-alarm line built on it, and the alarms of
// seconds the check did not see.
#include "schedule/next_due.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "mainwindow/next_alarm_line.h"
#include "mainwindow/tray_icon_state.h"
#include "schedule/alarm_check.h"
#include "schedule/missed_alarms.h"
#include "schedule/wake_schedule.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"
#include "support/alarm_lines.h"

namespace kolvi {
namespace {

using namespace test;

TEST(LocalTime, CalendarDaysAndSecondsRoundTrip) {
    const std::int64_t leapNoon = civilDay(2024, 2, 29) * kSecondsPerDay + 12 * 3600 + 34 * 60 + 56;
    EXPECT_EQ(localTimeAt(leapNoon), (LocalTime{4, 12, 34, 56, 19782}));  // a Thursday
    EXPECT_EQ(localSeconds(localTimeAt(leapNoon)), leapNoon);
}

TEST(NextDue, EarliestMomentOfACheckedRowWithinAWeek) {
    const LocalTime monday10 = at(kMonday, "10:00:00");
    // What, the rows, now, whether the first row fired in now's second, and the row due next with the
    // seconds until it comes due.
    const std::tuple<const char*, std::vector<std::string>, LocalTime, bool, std::string, std::int64_t> cases[] = {
        {"across midnight", {alarmLine("a", "00:10:00", "0010000")}, at(kMonday, "23:59:00"), false, "a", 660},
        {"into Sunday", {alarmLine("a", "08:00:00", "1000000")}, at(kSaturday, "23:00:00"), false, "a", 32400},
        {"passed today: next week", {alarmLine("a", "09:00:00", "0100000")}, monday10, false, "a", 601200},
        {"due now", {alarmLine("a", "10:00:00")}, monday10, false, "a", 0},
        {"fired in this second", {alarmLine("a", "10:00:00", "0100000")}, monday10, true, "a", 604800},
        {"earliest", {alarmLine("late", "11:00:00"), alarmLine("soon", "10:30:00")}, monday10, false, "soon", 1800},
        {"tie: the upper", {alarmLine("up", "10:30:00"), alarmLine("low", "10:30:00")}, monday10, false, "up", 1800},
        {"never due: unchecked, no weekday, impossible times",
         {"0,off,1,1,1,1,1,1,1,10,00,01,,0", alarmLine("none", "10:00:01", "0000000"), "1,h,1,1,1,1,1,1,1,24,00,00,,0",
          "1,m,1,1,1,1,1,1,1,10,60,00,,0", "1,n,1,1,1,1,1,1,1,-1,00,00,,0", alarmLine("real", "09:59:59")},
         monday10, false, "real", 86399},
        {"nothing ever due", {alarmLine("none", "10:00:00", "0000000")}, monday10, false, "none", 0},
    };
    for (const auto& [what, lines, now, firstFired, next, seconds] : cases) {
        AlarmList list = openList(lines);
        if (firstFired) list.setGhosted(0, true);
        const std::optional<DueAlarm> due = nextDue(list, now);
        EXPECT_EQ(due ? list.row(*list.findRow(due->id)).text(Column::name) : "none", next) << what;
        EXPECT_EQ(due ? due->at - localSeconds(now) : 0, seconds) << what;
    }
}

// The line names the next alarm within a day with the time left; it is the tray tip's third line, and the
// window's copy reports a change once, until the switch clears it; off in the settings, it never shows.
TEST(NextAlarmLine, NamesTheNextAlarmWithinADayAndReportsEachChangeOnce) {
    const std::pair<std::string, std::string> cases[] = {
        {alarmLine("会議", "12:05:30"), "次: 会議 12:05:30 (あと 2時間5分)"},
        {alarmLine("会議", "11:00:00"), "次: 会議 11:00:00 (あと 1時間)"},
        {alarmLine("会議", "10:59:59"), "次: 会議 10:59:59 (あと 59分)"},
        {alarmLine("会議", "10:00:59"), "次: 会議 10:00:59 (あと 1分未満)"},
        {alarmLine("会議", "10:00:00", "0010000"), "次: 会議 10:00:00 (あと 24時間)"},
        {alarmLine("会議", "10:00:01", "0010000"), ""},
    };
    for (const auto& [line, shown] : cases) EXPECT_EQ(nextAlarmLine(openList({line}), at(kMonday, "10:00:00")), shown);
    EXPECT_EQ(trayTipText("C:\\x\\wake.alm", "次: a"), "Kolviアラーム\r\nwake.alm\r\n次: a");

    const AlarmList list = openList({alarmLine("a", "10:05:00")});
    NextAlarmLine line(true), off(false);
    const auto update = [&list](NextAlarmLine& l, const char* time) { return l.update(list, at(kMonday, time)); };
    const std::array<std::optional<std::string>, 7> sent{update(line, "10:00:00"), update(line, "10:00:01"),
        update(line, "10:00:59"), line.clear(), line.clear(), update(line, "10:00:59"), update(off, "10:00:00")};
    const std::string five = "次: a 10:05:00 (あと 5分)", four = "次: a 10:05:00 (あと 4分)";
    EXPECT_EQ(sent, (decltype(sent){five, four, std::nullopt, "", std::nullopt, four, std::nullopt}));
}

// e, due in the second of the last tick before a stall, fired then and is
// neither fired again nor listed after it.
TEST(SkippedSeconds, OnlyAJumpOfMoreThanTwoSecondsWhileRunningIsASkip) {
    AlarmList list = openList({alarmLine("a", "10:00:01"), alarmLine("b", "10:00:04"), alarmLine("c", "10:00:07"),
                               alarmLine("d", "10:00:10"), alarmLine("e", "10:00:12")});
    RecordingCheckHost host(60);
    host.tick(list, at(kMonday, "10:00:00"));
    host.tick(list, at(kMonday, "10:00:02"));  // two seconds: a passes unseen, as always
    host.tick(list, at(kMonday, "10:00:05"));  // three: a skip, b fires
    host.check.forgetWaiting();                // the check was stopped: c is left alone
    host.tick(list, at(kMonday, "10:00:08"));
    host.grace = 0;                            // no grace: d is left alone, and not reported
    host.tick(list, at(kMonday, "10:00:11"));
    host.tick(list, at(kMonday, "10:00:12"));
    host.grace = 60;
    host.tick(list, at(kMonday, "10:05:00"));
    EXPECT_EQ(host.fired, (Texts{"b", "e"}));
    EXPECT_EQ(host.report, Texts{});
}

// Ten minutes asleep with a grace of 30 s: b, exactly 30 s late, still fires;
// a, 31 s late, is reported. The list order differs from the due order.
TEST(SkippedSeconds, GracedAlarmsFireOnePerTickInDueOrderExactlyOnceAndOlderOnesAreReported) {
    AlarmList list = openList({alarmLine("now", "10:10:00"), alarmLine("c", "10:09:50"),
                               alarmLine("a", "10:09:29", "1111111", true), alarmLine("b", "10:09:30", "1111111", true),
                               alarmLine("d", "10:09:55"), alarmLine("old", "10:05:00"),
                               alarmLine("later", "10:20:00")});
    RecordingCheckHost host(30);
    Texts statuses;
    host.hook = [&](const std::string& name) {
        if (name != "b") return;
        list.changeCheck(4, false);  // d, switched off while it waits for its turn
        statuses.push_back(host.tick(list, at(kMonday, "10:10:00")).status);
    };
    host.tick(list, at(kMonday, "10:00:00"));
    for (const char* time : {"10:10:00", "10:10:00", "10:10:00", "10:10:01"}) {
        statuses.push_back(host.tick(list, at(kMonday, time)).status);
    }
    EXPECT_EQ(host.fired, (Texts{"b", "c", "now"}));
    EXPECT_EQ(statuses, (Texts{"10:10:00 (c)", "10:10:00 (b)", "10:10:00 (now)", "10:10:00", "10:10:01"}));
    EXPECT_EQ(host.report, (Texts{"old 日月火水木金土 10:05:00", "a 日月火水木金土 10:09:29"}));
    // b deleted itself after running; a, missed, is kept for the user.
    EXPECT_EQ(column(list), (Texts{"now", "c", "a", "d", "old", "later"}));
}

TEST(SkippedSeconds, DaysAsleepReportEachRowOnceAndTheWindowGrowsWhileOpen) {
    AlarmList list = openList({alarmLine("daily", "07:00:00"), alarmLine("tuesday", "12:00:00", "0010000"),
                               alarmLine("friday", "12:00:00", "0000010"), "0,off,1,1,1,1,1,1,1,08,00,00,,0"});
    RecordingCheckHost host(60);
    host.tick(list, at(kMonday, "22:00:00"));
    host.tick(list, at(kSaturday, "06:00:00", 1));  // over a week later
    EXPECT_EQ(host.fired, Texts{});
    EXPECT_EQ(host.report, (Texts{"tuesday 火 12:00:00", "daily 日月火水木金土 07:00:00", "friday 金 12:00:00"}));

    MissedReport report;
    EXPECT_TRUE(report.add({{"a", "月", "07:00:00"}}));
    EXPECT_FALSE(report.add({{"b", "火", "08:00:00"}}));
    EXPECT_EQ(report.lines(), (Texts{"a 月 07:00:00", "b 火 08:00:00"}));
    report.close();
    EXPECT_FALSE(report.add({}));
    EXPECT_TRUE(report.add({{"c", "", "09:00:00"}}));
    EXPECT_EQ(report.lines(), (Texts{"c  09:00:00"}));
}

// The timer is armed a lead before the next alarm, never in the past, and stays put while that alarm's
// moment does (inside the lead each second would be a new armed moment); wake=0 or the alarms switched off
// cancel it at the next look. Woken shortly before an alarm, the machine stays up until it has rung, and
// the display comes on when it fires.
TEST(WakeSchedule, ArmsALeadBeforeTheAlarmAndKeepsAWokenMachineUpUntilItRings) {
    ProgramFiles files;
    AlarmList list = openList({alarmLine("a", "07:00:00"), alarmLine("b", "07:00:30")});
    RecordingWakeTimer timer;
    WakeSchedule wake(&timer, files.settings);
    const auto arm = [](const char* time, int days = 0) {
        return "arm:" + std::to_string(localSeconds(at(kMonday, time)) + days * kSecondsPerDay);
    };
    enum Event { look, resume, fire, switchOff };
    // what, now, wake, event, the calls it makes
    const std::tuple<const char*, const char*, const char*, Event, Texts> steps[] = {
        {"a lead before a", "06:00:00", "1", look, {arm("06:59:00")}},
        {"the same second is not looked at again", "06:00:00", "0", look, {}},
        {"inside the lead: not moved", "06:59:30", "1", look, {}},
        {"woken", "06:59:03", "1", resume, {"awake:1"}},
        {"a fires with the display on", "07:00:00", "1", fire, {"display"}},
        {"past a: the system may sleep; b is due within the lead", "07:00:01", "1", look,
         {"awake:0", arm("07:00:01")}},
        {"wake=0", "07:00:02", "0", look, {"cancel"}},
        {"wake=1 again", "07:00:03", "1", look, {arm("07:00:03")}},
        {"a fire with no resume leaves the display", "07:00:04", "1", fire, {}},
        {"switched off", "07:00:04", "1", switchOff, {"cancel"}},
        {"on again: tomorrow's a", "08:00:00", "1", look, {arm("06:59:00", 1)}},
        {"a resume hours before the alarm", "08:00:01", "1", resume, {}},
    };
    for (const auto& [what, now, setting, event, calls] : steps) {
        files.fs.put(files.settings.path(), std::string("[alarm]\r\nwake=") + setting + "\r\n");
        timer.calls.clear();
        if (event == look) wake.follow(list, true, at(kMonday, now));
        if (event == switchOff) wake.refresh(list, false, at(kMonday, now));
        if (event == resume) wake.resumed(at(kMonday, now));
        if (event == fire) wake.alarmFired();
        EXPECT_EQ(timer.calls, calls) << what;
    }
}

}  // namespace
}  // namespace kolvi
