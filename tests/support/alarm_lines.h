#pragma once
// Alarm lines, open lists and moments for the schedule and store tests, the
// texts a list shows, and a window for the alarm check that records.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "schedule/alarm_check.h"
#include "store/alarm_list.h"

namespace kolvi::test {

using Texts = std::vector<std::string>;

inline constexpr int kSunday = 0, kMonday = 1, kTuesday = 2, kWednesday = 3, kSaturday = 6;

// days: seven flags, Sunday first ("0111110" is Monday to Friday).
inline std::string alarmLine(const std::string& name, const std::string& time, const std::string& days = "1111111",
                             bool deleteAfterRun = false) {
    std::string line = "1," + name + ",";
    for (const char day : days) line += std::string(1, day) + ",";
    return line + time.substr(0, 2) + "," + time.substr(3, 2) + "," + time.substr(6, 2) + ",," +
           (deleteAfterRun ? "1" : "0");
}

// "HH:MM:SS" on that weekday of the week starting Sunday 1970-01-04 (day 3),
// or of a later week.
inline LocalTime at(int weekday, const std::string& time, int week = 0) {
    return {weekday, std::stoi(time.substr(0, 2)), std::stoi(time.substr(3, 2)), std::stoi(time.substr(6, 2)),
            3 + weekday + 7 * week};
}

// A list with a file open and these rows in this order, none current.
inline AlarmList openList(const std::vector<std::string>& lines) {
    AlarmList list;
    list.setTag("test.alm");
    for (const std::string& line : lines) list.addAlarmLine(line);
    list.clearCurrent();
    return list;
}

// One column's texts, of every row or of the highlighted ones only.
inline Texts column(const AlarmList& list, Column c = Column::name, bool highlightedOnly = false) {
    Texts texts;
    for (std::size_t i = 0; i < list.rowCount(); ++i) {
        if (!highlightedOnly || list.row(i).selected) texts.push_back(list.row(i).text(c));
    }
    return texts;
}

// An alarm check in a window that records the names of the alarms run, each
// after an optional hook (to tick again from inside an action, or to change
// the list), the saves and the missed alarms reported. The grace (seconds)
// is the base's 0 unless a test gives one.
struct RecordingCheckHost final : AlarmCheckHost {
    explicit RecordingCheckHost(int graceSeconds = 0) : grace(graceSeconds) {}
    TickResult tick(AlarmList& list, const LocalTime& now) { return check.tick(list, now, *this); }
    void runAlarm(const std::string& line) override {
        const std::string before = line, name(lineField(line, Field::name));
        fired.push_back(name);
        if (hook) hook(name);
        EXPECT_EQ(line, before) << "the line of " << name << " changed during its action";
    }
    void saveAlarmFile() override { ++saves; }
    int missedGrace() override { return grace; }
    void reportMissed(const std::vector<MissedAlarm>& missed) override {
        for (const MissedAlarm& alarm : missed) report.push_back(missedAlarmLine(alarm));
    }
    AlarmCheck check;
    Texts fired, report;
    std::function<void(const std::string&)> hook;
    int saves = 0, grace = 0;
};

}  // namespace kolvi::test
