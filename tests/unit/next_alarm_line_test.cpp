#include "mainwindow/next_alarm_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "mainwindow/tray_icon_state.h"
#include "support/alarm_lines.h"

namespace kolvi {
namespace {

using namespace test;

TEST(NextAlarmLine, NamesTheNextAlarmWithinADayWithTheTimeLeft) {
    const struct {
        std::string line;
        std::string shown;
    } cases[] = {
        {alarmLine("会議", "12:05:30"), "次: 会議 12:05:30 (あと 2時間5分)"},
        {alarmLine("会議", "12:00:00"), "次: 会議 12:00:00 (あと 2時間)"},
        {alarmLine("会議", "10:59:59"), "次: 会議 10:59:59 (あと 59分)"},
        {alarmLine("会議", "10:00:59"), "次: 会議 10:00:59 (あと 1分未満)"},
        {alarmLine("会議", "10:00:00"), "次: 会議 10:00:00 (あと 1分未満)"},
        {alarmLine("会議", "10:00:00", "0010000"), "次: 会議 10:00:00 (あと 24時間)"},
        {alarmLine("会議", "10:00:01", "0010000"), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nextAlarmLine(openList({c.line}), at(kMonday, "10:00:00")), c.shown) << c.line;
    }
}

TEST(NextAlarmLine, AChangeIsReportedOnceAndTheSettingSwitchesTheLineOff) {
    const AlarmList list = openList({alarmLine("a", "10:05:00")});
    NextAlarmLine line(true);
    EXPECT_EQ(line.update(list, at(kMonday, "10:00:00")), "次: a 10:05:00 (あと 5分)");
    EXPECT_EQ(line.update(list, at(kMonday, "10:00:01")), "次: a 10:05:00 (あと 4分)");  // whole minutes left
    EXPECT_EQ(line.update(list, at(kMonday, "10:00:59")), std::nullopt);
    EXPECT_EQ(line.clear(), "");
    EXPECT_EQ(line.clear(), std::nullopt);
    EXPECT_EQ(line.update(list, at(kMonday, "10:00:59")), "次: a 10:05:00 (あと 4分)");

    NextAlarmLine off(false);
    EXPECT_EQ(off.update(list, at(kMonday, "10:00:00")), std::nullopt);
    EXPECT_EQ(off.line(), "");
}

TEST(NextAlarmLine, IsTheTrayTipsThirdLineCutWithoutSplittingACharacter) {
    const std::string next = "次: a 10:05:00 (あと 5分)";
    EXPECT_EQ(trayTipText("C:\\x\\wake.alm", next), "Kolviアラーム\r\nwake.alm\r\n" + next);
    EXPECT_EQ(trayTipText("", next), "Kolviアラーム");
    std::string longName;
    for (int i = 0; i < 200; ++i) longName += "あ";
    std::string fitted;
    for (int i = 0; i < 127 - 24; ++i) fitted += "あ";  // 24 units before the name
    EXPECT_EQ(fitTrayTip(trayTipText("wake.alm", "次: " + longName)), "Kolviアラーム\r\nwake.alm\r\n次: " + fitted);
}

}  // namespace
}  // namespace kolvi
