#include "schedule/alarm_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "schedule/countdown_text.h"
#include "support/alarm_lines.h"
#include "texts/common_texts.h"

namespace kolvi {
namespace {

using namespace test;
using Names = std::vector<std::string>;

Names rowNames(const AlarmList& list) {
    Names names;
    for (std::size_t i = 0; i < list.rowCount(); ++i) names.push_back(list.row(i).text(Column::name));
    return names;
}

// The file opened again: the same rows under new identities.
void reopen(AlarmList& list, const std::vector<std::string>& lines) {
    list.clearRows();
    for (const std::string& line : lines) list.addAlarmLine(line);
}

// Records the alarms run, each after an optional hook (to tick again from
// inside an action, or to change the list).
struct FakeHost final : AlarmCheckHost {
    void runAlarm(const std::string& line) override {
        const std::string before = line, name(lineField(line, Field::name));
        fired.push_back(name);
        if (hook) hook(name);
        EXPECT_EQ(line, before) << "the line of " << name << " changed during its action";
    }
    void saveAlarmFile() override { ++saves; }
    Names fired;
    std::function<void(const std::string&)> hook;
    int saves = 0;
};

// A row that fires is highlighted, dimmed and current, so the list must be repainted.
TEST(AlarmCheck, FiresARowWhoseTimeAndWeekdayMatch) {
    const std::string weekdays = alarmLine("朝会", "07:30:00", "0111110"), noFile(kStatusNoFile);
    const std::tuple<const char*, std::string, LocalTime, bool, std::string> cases[] = {
        // what, line, now, fires, status
        {"today is one of its days", weekdays, at(kMonday, "07:30:00"), true, "07:30:00 (朝会)"},
        {"today is not", weekdays, at(kSaturday, "07:30:00"), false, "07:30:00"},
        // A row whose second passes without any tick never fires later.
        {"a second later", weekdays, at(kMonday, "07:30:01"), false, "07:30:01"},
        {"switched off", "0" + alarmLine("x", "07:30:00").substr(1), at(kMonday, "07:30:00"), false, "07:30:00"},
        {"Sunday at midnight", alarmLine("日", "00:00:00", "1000000"), at(kSunday, "00:00:00"), true, "00:00:00 (日)"},
        {"a weekday the clock cannot give", alarmLine("x", "07:30:00"), at(7, "07:30:00"), false, "07:30:00"},
        {"no name: the time alone", alarmLine("", "23:59:59"), at(kTuesday, "23:59:59"), true, "23:59:59"},
        {"no file open: the hint", alarmLine("a", "07:30:00"), at(kMonday, "07:30:00"), false, noFile},
    };
    for (const auto& [what, line, now, fires, status] : cases) {
        AlarmList list = openList({alarmLine("other", "12:00:00"), line});
        if (status == noFile) list.setTag("");
        AlarmCheck check;
        FakeHost host;
        const TickResult result = check.tick(list, now, host);
        const AlarmRow& row = list.row(1);
        EXPECT_EQ(std::tuple(result.status, result.listChanged, host.fired.size(), row.ghosted, row.selected),
                  std::tuple(status, fires, fires ? 1u : 0u, fires, fires)) << what;
        EXPECT_EQ(list.currentPosition(), fires ? std::optional<std::size_t>(1) : std::nullopt) << what;
    }
}

// The window repaints only when a tick says the list changed: a wrong false
// leaves a stale screen, a wrong true makes it flicker.
TEST(AlarmCheck, LatchAllowsOneFiringPerSecondAndTheListChangesOnlyWhenItMoves) {
    AlarmList list = openList({alarmLine("朝会", "07:30:00", "0111110")});
    AlarmCheck check;
    FakeHost host;
    const auto changed = [&](int day, const char* time) { return check.tick(list, at(day, time), host).listChanged; };
    EXPECT_FALSE(changed(kMonday, "07:29:59"));  // a quiet tick
    EXPECT_TRUE(changed(kMonday, "07:30:00"));
    EXPECT_EQ(check.tick(list, at(kMonday, "07:30:00"), host).status, "07:30:00");  // latched: no name, no change
    EXPECT_EQ(host.fired.size(), 1u);
    EXPECT_TRUE(changed(kMonday, "07:30:01"));  // the fired mark goes
    EXPECT_FALSE(list.row(0).ghosted || changed(kMonday, "07:30:02"));
    changed(kTuesday, "07:30:00");
    EXPECT_EQ(host.fired.size(), 2u);
    // An unchecked row is passed over, latch and all.
    list.changeCheck(0, false);
    EXPECT_FALSE(changed(kTuesday, "07:30:01"));
    EXPECT_TRUE(list.row(0).ghosted);
    list.changeCheck(0, true);
    EXPECT_TRUE(changed(kTuesday, "07:30:02"));
    EXPECT_EQ(host.fired.size(), 2u);
}

// Four ticks a second, as with the default interval: A to D fire in the
// ticks of 10:00:00, one per tick, and E waits. At 10:00:01 the row due then
// goes first, being above E; then E, unless it stopped waiting meanwhile (the
// check stopping drops it too, as the window tests show).
TEST(AlarmCheck, RowsDueTogetherFireOnePerTickAndAWaitingRowCanStopWaiting) {
    const std::vector<std::string> lines{alarmLine("next", "10:00:01"), alarmLine("A", "10:00:00"),
                                         alarmLine("B", "10:00:00"),    alarmLine("C", "10:00:00"),
                                         alarmLine("D", "10:00:00"),    alarmLine("E", "10:00:00")};
    const std::tuple<const char*, std::function<void(AlarmList&)>, Names> cases[] = {
        {"nothing happens", [](AlarmList&) {}, {"next", "E"}},
        {"it is deleted", [](AlarmList& list) { list.makeCurrent(5); list.deleteCurrentRow(); }, {"next"}},
        {"a row above it is deleted", [](AlarmList& list) { list.makeCurrent(2); list.deleteCurrentRow(); }, {"next", "E"}},
        {"it is unchecked", [](AlarmList& list) { list.changeCheck(5, false); }, {"next"}},
        {"the file is opened again", [&lines](AlarmList& list) { reopen(list, lines); }, {"next"}},
    };
    for (const auto& [what, meanwhile, firedAfterwards] : cases) {
        AlarmList list = openList(lines);
        AlarmCheck check;
        FakeHost host;
        for (int i = 0; i < 4; ++i) check.tick(list, at(kMonday, "10:00:00"), host);
        EXPECT_EQ(host.fired, (Names{"A", "B", "C", "D"})) << what;
        host.fired.clear();
        meanwhile(list);
        check.tick(list, at(kMonday, "10:00:01"), host);
        list.changeCheck(list.rowCount() - 1, true);  // switched on again, a row does not resume waiting
        check.tick(list, at(kMonday, "10:00:01"), host);
        check.tick(list, at(kMonday, "10:00:02"), host);
        EXPECT_EQ(host.fired, firedAfterwards) << what;
    }
}

// A message box's modal loop delivers ticks to the same check while the
// alarm's action is still running.
TEST(AlarmCheck, NestedTicksFireOtherRowsAndTheFiredRowIsDeletedByIdentity) {
    AlarmList list = openList({alarmLine("C", "10:00:01", "1111111", true), alarmLine("A", "10:00:00", "1111111", true),
                               alarmLine("D", "10:00:00")});
    AlarmCheck check;
    FakeHost host;
    Names nested;
    host.hook = [&](const std::string& name) {
        if (name != "A") return;
        for (const char* time : {"10:00:00", "10:00:00", "10:00:01"}) {  // fires D; A and D latched; fires C
            nested.push_back(check.tick(list, at(kMonday, time), host).status);
        }
    };
    EXPECT_EQ(check.tick(list, at(kMonday, "10:00:00"), host).status, "10:00:00 (A)");
    EXPECT_EQ(nested, (Names{"10:00:00 (D)", "10:00:00", "10:00:01 (C)"}));
    // C's deletion moved A up to where C was; D, now at A's old place, stays.
    EXPECT_EQ(rowNames(list), (Names{"D"}));
    EXPECT_EQ(host.saves, 2);
    check.tick(list, at(kMonday, "10:00:01"), host);
    check.tick(list, at(kMonday, "10:00:00"), host);  // the clock set back: D again
    EXPECT_EQ(host.fired, (Names{"A", "D", "C", "D"}));
}

// A deletes itself after running; its action may have changed the list. The
// list changed in every case: A fired, and perhaps went.
TEST(AlarmCheck, FiredRowIsDeletedByIdentityAfterItsAction) {
    const std::vector<std::string> lines{alarmLine("A", "10:00:00", "1111111", true), alarmLine("B", "11:00:00")};
    const std::string fired = "10:00:00 (A)";
    const std::tuple<const char*, std::function<void(AlarmList&)>, Names, int, std::string> cases[] = {
        // what, action, rows afterwards, saves, status
        {"nothing", [](AlarmList&) {}, {"B"}, 1, fired},
        {"a row added above", [](AlarmList& l) { l.addAlarmLine(alarmLine("new", "09:00:00")); }, {"new", "B"}, 1, fired},
        {"it was deleted meanwhile", [](AlarmList& l) { l.makeCurrent(0); l.deleteCurrentRow(); }, {"B"}, 0, fired},
        {"the file was closed", [](AlarmList& l) { l.setTag(""); }, {"A", "B"}, 0, std::string(kStatusNoFile)},
        {"the file was opened again", [&lines](AlarmList& l) { reopen(l, lines); }, {"A", "B"}, 0, fired},
    };
    for (const auto& [what, action, rows, saves, status] : cases) {
        AlarmList list = openList(lines);
        list.applySort(3, 0);
        AlarmCheck check;
        FakeHost host;
        host.hook = [&](const std::string&) { action(list); };
        const TickResult result = check.tick(list, at(kMonday, "10:00:00"), host);
        EXPECT_EQ(std::tuple(result.status, result.listChanged, rowNames(list), host.saves),
                  std::tuple(status, true, rows, saves)) << what;
    }
}

// The tip over a row says how its alarm stands today (a Wednesday), and only while tips are on.
TEST(CountdownText, TellsHowTheAlarmUnderThePointerStandsToday) {
    const std::string off = "[会議] このアラームは停止しています。", notToday = "[会議] このアラームは今日は作動しません。";
    const std::string impossible = "[会議] このアラームの設定時刻が正しくありません。";
    const auto line = [](const char* time, const char* days = "1111111") { return alarmLine("会議", time, days); };
    const std::tuple<std::string, const char*, std::string> cases[] = {
        // line, now, tip
        {"0" + line("10:05:00").substr(1), "10:00:00", off},
        {line("10:05:00", "1000001"), "10:00:00", notToday},
        {line("10:05:00"), "10:00:00", "[会議] このアラームは300秒後に作動します。"},
        {line("10:05:00", "0001000"), "10:05:00", "[会議] このアラームは0秒後に作動します。"},
        {line("23:59:59"), "00:00:00", "[会議] このアラームは86399秒後に作動します。"},
        {line("00:00:00"), "00:00:01", "[会議] このアラームの設定時刻は本日はもう過ぎています。"},
        {line("24:00:00"), "00:00:00", impossible},
        {line("10:60:00"), "00:00:00", impossible},
        {"0" + line("99:99:99").substr(1), "00:00:00", off},  // switched off says so first
        {line("99:99:99", "0100000"), "00:00:00", notToday},  // and so does a day that is not today
    };
    for (const auto& [alarm, now, tip] : cases) {
        const AlarmList list = openList({alarm});
        EXPECT_EQ(rowCountdownText(true, &list.row(0), at(kWednesday, now)), tip) << alarm << " at " << now;
        EXPECT_EQ(rowCountdownText(false, &list.row(0), at(kWednesday, now)), "") << alarm;
    }
    EXPECT_EQ(rowCountdownText(true, nullptr, at(kWednesday, "10:00:00")), "");
}

}  // namespace
}  // namespace kolvi
