#include "schedule/countdown_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvi {
namespace {

const std::string kAllDays = "日月火水木金土";

LocalTime at(int hour, int minute, int second) { return {3, hour, minute, second}; }  // a Wednesday

TEST(CountdownText, TellsHowTheAlarmStandsToday) {
    const std::string off = "[会議] このアラームは停止しています。";
    const std::string notToday = "[会議] このアラームは今日は作動しません。";
    const std::string impossible = "[会議] このアラームの設定時刻が正しくありません。";
    const struct {
        const char* what;
        bool checked;
        std::string days, time;
        LocalTime now;
        std::string expected;
    } cases[] = {
        {"switched off", false, kAllDays, "10:05:00", at(10, 0, 0), off},
        {"not today", true, "土日", "10:05:00", at(10, 0, 0), notToday},
        {"later today", true, kAllDays, "10:05:00", at(10, 0, 0), "[会議] このアラームは300秒後に作動します。"},
        {"within its own second", true, "水", "10:05:00", at(10, 5, 0), "[会議] このアラームは0秒後に作動します。"},
        {"the last second of the day", true, kAllDays, "23:59:59", at(0, 0, 0), "[会議] このアラームは86399秒後に作動します。"},
        {"passed a second ago", true, kAllDays, "00:00:00", at(0, 0, 1), "[会議] このアラームの設定時刻は本日はもう過ぎています。"},
        {"hour 24", true, kAllDays, "24:00:00", at(0, 0, 0), impossible},
        {"minute 60", true, kAllDays, "10:60:00", at(0, 0, 0), impossible},
        {"second 60", true, kAllDays, "10:00:60", at(0, 0, 0), impossible},
        {"negative minute", true, kAllDays, "10:-05:00", at(0, 0, 0), impossible},
        {"impossible but switched off", false, kAllDays, "99:99:99", at(0, 0, 0), off},
        {"impossible but not today", true, "月", "99:99:99", at(0, 0, 0), notToday},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(countdownText(true, CountdownRow{c.checked, "会議", c.days, c.time}, c.now), c.expected) << c.what;
    }
}

// The tip reads the row's check box and column texts, and only while tips are on.
TEST(CountdownText, ReadsTheRowUnderTheMouse) {
    AlarmList list;
    ASSERT_TRUE(list.addAlarmLine("1,朝会,0,1,1,1,1,1,0,10,01,00,,0"));
    ASSERT_TRUE(list.addAlarmLine("0,帰宅,1,1,1,1,1,1,1,18,00,00,lock,0"));
    EXPECT_EQ(rowCountdownText(true, &list.row(0), at(10, 0, 0)), "[朝会] このアラームは60秒後に作動します。");
    EXPECT_EQ(rowCountdownText(true, &list.row(1), at(10, 0, 0)), "[帰宅] このアラームは停止しています。");
    EXPECT_EQ(rowCountdownText(false, &list.row(0), at(10, 0, 0)), "");
    EXPECT_EQ(rowCountdownText(true, nullptr, at(10, 0, 0)), "");
}

}  // namespace
}  // namespace kolvi
