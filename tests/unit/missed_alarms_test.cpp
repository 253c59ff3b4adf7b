#include "schedule/missed_alarms.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "schedule/alarm_check.h"
#include "support/alarm_lines.h"

namespace kolvi {
namespace {

using namespace test;
using Names = std::vector<std::string>;

class GraceHost final : public AlarmCheckHost {
public:
    void runAlarm(const std::string& line) override {
        const std::string name(lineField(line, Field::name));
        fired.push_back(name);
        if (const auto hook = hooks.find(name); hook != hooks.end()) hook->second();
    }
    void saveAlarmFile() override {}
    int missedGrace() override { return grace; }
    void reportMissed(const std::vector<MissedAlarm>& missed) override {
        for (const MissedAlarm& alarm : missed) report.push_back(missedAlarmLine(alarm));
    }

    int grace = 60;
    Names fired, report;
    std::map<std::string, std::function<void()>> hooks;
};

TEST(SkippedSeconds, OnlyAJumpOfMoreThanTwoSecondsWhileRunningIsASkip) {
    struct Case {
        const char* what;
        std::string now;
        bool stopped;
        int grace;
        Names fired;
    };
    const Case cases[] = {
        {"two seconds: the one between passes, as always", "10:00:02", false, 60, {}},
        {"three seconds: a skip", "10:00:03", false, 60, {"a"}},
        {"the check was stopped meanwhile", "10:00:03", true, 60, {}},
        {"no grace: the skip is left alone", "10:00:03", false, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AlarmList list = openList({alarmLine("a", "10:00:01")});
        AlarmCheck check;
        GraceHost host;
        host.grace = c.grace;
        check.tick(list, at(kMonday, "10:00:00"), host);
        if (c.stopped) check.forgetWaiting();
        check.tick(list, at(kMonday, c.now), host);
        check.tick(list, at(kMonday, c.now), host);
        EXPECT_EQ(host.fired, c.fired);
        EXPECT_TRUE(host.report.empty());
    }
}

// Ten minutes asleep; the list order differs from the due order.
TEST(SkippedSeconds, GracedAlarmsFireOnePerTickInDueOrderExactlyOnceAndOlderOnesAreReported) {
    AlarmList list = openList({alarmLine("now", "10:10:00"), alarmLine("c", "10:09:50"),
                               alarmLine("a", "10:08:00", "1111111", true), alarmLine("b", "10:09:30", "1111111", true),
                               alarmLine("old", "10:05:00"), alarmLine("later", "10:20:00")});
    AlarmCheck check;
    GraceHost host;
    Names statuses;
    host.hooks["b"] = [&] { statuses.push_back(check.tick(list, at(kMonday, "10:10:00"), host).status); };
    check.tick(list, at(kMonday, "10:00:00"), host);
    for (const char* time : {"10:10:00", "10:10:00", "10:10:00", "10:10:01"}) {
        statuses.push_back(check.tick(list, at(kMonday, time), host).status);
    }
    EXPECT_EQ(host.fired, (Names{"b", "c", "now"}));
    EXPECT_EQ(statuses, (Names{"10:10:00 (c)", "10:10:00 (b)", "10:10:00 (now)", "10:10:00", "10:10:01"}));
    EXPECT_EQ(host.report, (Names{"old 日月火水木金土 10:05:00", "a 日月火水木金土 10:08:00"}));
    // b deleted itself after running; a, missed, is kept for the user.
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < list.rowCount(); ++i) rows.push_back(list.row(i).text(Column::name));
    EXPECT_EQ(rows, (Names{"now", "c", "a", "old", "later"}));
}

TEST(SkippedSeconds, DaysAsleepReportEachRowOnceAndTheWindowGrowsWhileOpen) {
    AlarmList list = openList({alarmLine("daily", "07:00:00"), alarmLine("tuesday", "12:00:00", "0010000")});
    AlarmCheck check;
    GraceHost host;
    check.tick(list, at(kMonday, "22:00:00"), host);
    check.tick(list, at(kSaturday, "06:00:00", 1), host);  // over a week later
    EXPECT_EQ(host.report, (Names{"tuesday 火 12:00:00", "daily 日月火水木金土 07:00:00"}));
    EXPECT_TRUE(host.fired.empty());

    MissedReport report;
    EXPECT_TRUE(report.add({{"a", "月", "07:00:00"}}));
    EXPECT_FALSE(report.add({{"b", "火", "08:00:00"}}));
    EXPECT_EQ(report.lines(), (Names{"a 月 07:00:00", "b 火 08:00:00"}));
    report.close();
    EXPECT_FALSE(report.add({}));
    EXPECT_TRUE(report.add({{"c", "", "09:00:00"}}));
    EXPECT_EQ(report.lines(), (Names{"c  09:00:00"}));
}

}  // namespace
}  // namespace kolvi
