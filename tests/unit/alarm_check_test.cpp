#include "schedule/alarm_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "store/alarm_record.h"
#include "texts/common_texts.h"

namespace kolvi {
namespace {

using Names = std::vector<std::string>;

constexpr int kSunday = 0, kMonday = 1, kTuesday = 2, kSaturday = 6;

// days: seven flags, Sunday first; time "HH:MM:SS".
std::string alarmLine(const std::string& name, const std::string& time, const std::string& days = "1111111",
                      bool deleteAfterRun = false, bool enabled = true) {
    std::string line = (enabled ? "1," : "0,") + name + ",";
    for (const char day : days) line += std::string(1, day) + ",";
    line += time.substr(0, 2) + "," + time.substr(3, 2) + "," + time.substr(6, 2) + ",,";
    return line + (deleteAfterRun ? "1" : "0");
}

LocalTime at(int weekday, const std::string& time) {
    return {weekday, std::stoi(time.substr(0, 2)), std::stoi(time.substr(3, 2)), std::stoi(time.substr(6, 2))};
}

void openLines(AlarmList& list, const std::vector<std::string>& lines) {
    list.clearRows();
    list.setTag("test.alm");
    for (const std::string& line : lines) EXPECT_TRUE(list.addAlarmLine(line)) << line;
    list.clearCurrent();
}

AlarmList listOf(const std::vector<std::string>& lines) {
    AlarmList list;
    openLines(list, lines);
    return list;
}

Names rowNames(const AlarmList& list) {
    Names names;
    for (std::size_t i = 0; i < list.rowCount(); ++i) names.push_back(list.row(i).text(Column::name));
    return names;
}

void deleteRow(AlarmList& list, const std::string& name) {
    const Names names = rowNames(list);
    list.makeCurrent(static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin()));
    list.deleteCurrentRow();
}

// Records what the check asks for; an alarm's action can be replaced by a
// hook (to tick again from inside it, or to change the list).
class FakeHost final : public AlarmCheckHost {
public:
    void runAlarm(const std::string& line) override {
        const std::string before = line;
        const std::string name(lineField(line, Field::name));
        fired.push_back(name);
        if (const auto hook = hooks.find(name); hook != hooks.end()) hook->second();
        if (line != before) changedLines.push_back(name);
    }
    void saveAlarmFile() override { ++saves; }

    Names fired;
    Names changedLines;  // lines that did not stay intact during their action
    std::map<std::string, std::function<void()>> hooks;
    int saves = 0;
};

// A row that fires is highlighted and dimmed, so the list must be repainted.
TEST(AlarmCheck, FiresARowWhoseTimeAndWeekdayMatch) {
    struct Case {
        const char* what;
        std::string line;
        LocalTime now;
        bool fires;
        std::string status;
        bool fileOpen = true;
    };
    const std::string weekdays = "0111110", kNoFile(kStatusNoFile);
    const Case cases[] = {
        {"today is one of its days", alarmLine("朝会", "07:30:00", weekdays), at(kMonday, "07:30:00"), true,
         "07:30:00 (朝会)"},
        {"today is not one of its days", alarmLine("朝会", "07:30:00", weekdays), at(kSaturday, "07:30:00"), false,
         "07:30:00"},
        // Also: a row whose second passes without any tick never fires later.
        {"a second later", alarmLine("朝会", "07:30:00", weekdays), at(kMonday, "07:30:01"), false, "07:30:01"},
        {"switched off", alarmLine("x", "07:30:00", "1111111", false, false), at(kMonday, "07:30:00"), false,
         "07:30:00"},
        {"Sunday at midnight", alarmLine("日曜", "00:00:00", "1000000"), at(kSunday, "00:00:00"), true,
         "00:00:00 (日曜)"},
        {"a weekday the clock cannot give", alarmLine("x", "07:30:00"), at(7, "07:30:00"), false, "07:30:00"},
        {"no name: the time alone", alarmLine("", "23:59:59"), at(kTuesday, "23:59:59"), true, "23:59:59"},
        {"no file open: the hint", alarmLine("a", "07:30:00"), at(kMonday, "07:30:00"), false, kNoFile, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AlarmList list = listOf({alarmLine("other", "12:00:00"), c.line});
        if (!c.fileOpen) list.setTag("");
        AlarmCheck check;
        FakeHost host;
        const TickResult result = check.tick(list, c.now, host);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.listChanged, c.fires);
        EXPECT_EQ(host.fired.size(), c.fires ? 1u : 0u);
        EXPECT_EQ(list.row(1).ghosted, c.fires);
        EXPECT_EQ(list.row(1).selected, c.fires);
        EXPECT_EQ(list.currentPosition(), c.fires ? std::optional<std::size_t>(1) : std::nullopt);
        EXPECT_EQ(host.saves, 0);
    }
}

// The window repaints only when a tick says the list changed: a wrong false
// leaves a stale screen, a wrong true makes it flicker.
TEST(AlarmCheck, LatchAllowsOneFiringPerSecondAndTheListChangesOnlyWhenItMoves) {
    AlarmList list = listOf({alarmLine("朝会", "07:30:00", "0111110")});
    AlarmCheck check;
    FakeHost host;
    const auto tick = [&](int weekday, const char* time) { return check.tick(list, at(weekday, time), host); };
    EXPECT_FALSE(tick(kMonday, "07:29:59").listChanged);  // a quiet tick
    EXPECT_EQ(tick(kMonday, "07:30:00").status, "07:30:00 (朝会)");
    for (int i = 0; i < 2; ++i) {
        const TickResult again = tick(kMonday, "07:30:00");
        EXPECT_EQ(again.status, "07:30:00");
        EXPECT_FALSE(again.listChanged);
    }
    EXPECT_EQ(host.fired.size(), 1u);
    EXPECT_TRUE(list.row(0).ghosted);

    EXPECT_TRUE(tick(kMonday, "07:30:01").listChanged);  // the fired mark goes
    EXPECT_FALSE(list.row(0).ghosted);
    EXPECT_FALSE(tick(kMonday, "07:30:02").listChanged);
    tick(kTuesday, "07:30:00");
    EXPECT_EQ(host.fired.size(), 2u);

    // An unchecked row is passed over, latch and all.
    list.changeCheck(0, false);
    EXPECT_FALSE(tick(kTuesday, "07:30:01").listChanged);
    EXPECT_TRUE(list.row(0).ghosted);
    list.changeCheck(0, true);
    EXPECT_TRUE(tick(kTuesday, "07:30:02").listChanged);
    EXPECT_FALSE(list.row(0).ghosted);
    EXPECT_EQ(host.fired.size(), 2u);
}

// Four ticks a second, as with the default interval.
TEST(AlarmCheck, RowsDueTogetherFireOnePerTickAndNoneIsLost) {
    AlarmList list = listOf({alarmLine("next", "10:00:01"), alarmLine("A", "10:00:00"), alarmLine("B", "10:00:00"),
                             alarmLine("C", "10:00:00"), alarmLine("D", "10:00:00"), alarmLine("E", "10:00:00")});
    AlarmCheck check;
    FakeHost host;
    Names statuses;
    for (const char* time : {"10:00:00", "10:00:00", "10:00:00", "10:00:00", "10:00:01", "10:00:01", "10:00:01",
                             "10:00:01", "10:00:02"}) {
        statuses.push_back(check.tick(list, at(kMonday, time), host).status);
    }
    // The row due at 10:00:01 is above the one left over from 10:00:00, so it
    // goes first: one alarm per tick, in list order.
    EXPECT_EQ(host.fired, (Names{"A", "B", "C", "D", "next", "E"}));
    EXPECT_EQ(statuses, (Names{"10:00:00 (A)", "10:00:00 (B)", "10:00:00 (C)", "10:00:00 (D)", "10:00:01 (next)",
                               "10:00:01 (E)", "10:00:01", "10:00:01", "10:00:02"}));
}

// A, B, C and D fire in the four ticks of 10:00:00; E waits for 10:00:01.
TEST(AlarmCheck, WaitingRowStopsWaitingWhenItGoesAwayOrIsSwitchedOff) {
    struct Case {
        const char* what;
        std::function<void(AlarmList&, AlarmCheck&)> meanwhile;
        Names firedAfterwards;
    };
    const std::vector<std::string> lines{alarmLine("A", "10:00:00"), alarmLine("B", "10:00:00"),
                                         alarmLine("C", "10:00:00"), alarmLine("D", "10:00:00"),
                                         alarmLine("E", "10:00:00")};
    const Case cases[] = {
        {"nothing happens", [](AlarmList&, AlarmCheck&) {}, {"E"}},
        {"it is deleted", [](AlarmList& list, AlarmCheck&) { deleteRow(list, "E"); }, {}},
        {"a row above it is deleted", [](AlarmList& list, AlarmCheck&) { deleteRow(list, "B"); }, {"E"}},
        {"it is unchecked", [](AlarmList& list, AlarmCheck&) { list.changeCheck(list.rowCount() - 1, false); }, {}},
        {"the file is closed and opened again", [&lines](AlarmList& list, AlarmCheck&) { openLines(list, lines); }, {}},
        {"the check forgets waiting alarms", [](AlarmList&, AlarmCheck& check) { check.forgetWaiting(); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AlarmList list = listOf(lines);
        AlarmCheck check;
        FakeHost host;
        for (int i = 0; i < 4; ++i) check.tick(list, at(kMonday, "10:00:00"), host);
        ASSERT_EQ(host.fired, (Names{"A", "B", "C", "D"}));
        host.fired.clear();
        c.meanwhile(list, check);
        check.tick(list, at(kMonday, "10:00:01"), host);
        // Switched on again (E is last), an unchecked row does not resume waiting.
        if (list.rowCount() > 0) list.changeCheck(list.rowCount() - 1, true);
        check.tick(list, at(kMonday, "10:00:01"), host);
        check.tick(list, at(kMonday, "10:00:02"), host);
        EXPECT_EQ(host.fired, c.firedAfterwards);
    }
}

// A message box's modal loop delivers ticks to the same check while the
// alarm's action is still running.
TEST(AlarmCheck, NestedTicksFireOtherRowsAndTheFiredRowIsDeletedByIdentity) {
    AlarmList list = listOf({alarmLine("C", "10:00:01", "1111111", true), alarmLine("A", "10:00:00", "1111111", true),
                             alarmLine("D", "10:00:00")});
    AlarmCheck check;
    FakeHost host;
    Names nested;
    host.hooks["A"] = [&] {
        nested.push_back(check.tick(list, at(kMonday, "10:00:00"), host).status);  // fires D
        nested.push_back(check.tick(list, at(kMonday, "10:00:00"), host).status);  // A and D are latched
        nested.push_back(check.tick(list, at(kMonday, "10:00:01"), host).status);  // fires C, deletes it
    };
    EXPECT_EQ(check.tick(list, at(kMonday, "10:00:00"), host).status, "10:00:00 (A)");
    EXPECT_EQ(nested, (Names{"10:00:00 (D)", "10:00:00", "10:00:01 (C)"}));
    EXPECT_EQ(host.fired, (Names{"A", "D", "C"}));
    // C's deletion moved A up to where C was; D, now at A's old place, stays.
    EXPECT_EQ(rowNames(list), (Names{"D"}));
    EXPECT_EQ(host.saves, 2);
    EXPECT_TRUE(host.changedLines.empty());

    check.tick(list, at(kMonday, "10:00:01"), host);
    EXPECT_EQ(host.fired, (Names{"A", "D", "C"}));
    check.tick(list, at(kMonday, "10:00:00"), host);  // the clock set back: D again
    EXPECT_EQ(host.fired, (Names{"A", "D", "C", "D"}));
}

// A deletes itself after running; its action may have changed the list. The
// list changed in every case: A fired, and perhaps went.
TEST(AlarmCheck, FiredRowIsDeletedByIdentityAfterItsAction) {
    struct Case {
        const char* what;
        std::function<void(AlarmList&)> action;
        Names rows;
        int saves;
        std::string status;
    };
    const std::vector<std::string> lines{alarmLine("A", "10:00:00", "1111111", true), alarmLine("B", "11:00:00")};
    const Case cases[] = {
        {"nothing", [](AlarmList&) {}, {"B"}, 1, "10:00:00 (A)"},
        {"a row added above it", [](AlarmList& list) { list.addAlarmLine(alarmLine("new", "09:00:00")); },
         {"new", "B"}, 1, "10:00:00 (A)"},
        {"it was deleted meanwhile", [](AlarmList& list) { deleteRow(list, "A"); }, {"B"}, 0, "10:00:00 (A)"},
        {"the file was closed", [](AlarmList& list) { list.setTag(""); }, {"A", "B"}, 0, std::string(kStatusNoFile)},
        {"the file was closed and opened again", [&lines](AlarmList& list) { openLines(list, lines); }, {"A", "B"},
         0, "10:00:00 (A)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AlarmList list = listOf(lines);
        list.applySort(3, 0);
        AlarmCheck check;
        FakeHost host;
        host.hooks["A"] = [&] { c.action(list); };
        const TickResult result = check.tick(list, at(kMonday, "10:00:00"), host);
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(result.listChanged);
        EXPECT_EQ(rowNames(list), c.rows);
        EXPECT_EQ(host.saves, c.saves);
    }
}

}  // namespace
}  // namespace kolvi
