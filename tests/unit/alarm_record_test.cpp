#include "store/alarm_record.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvi {
namespace {

struct IntegerCase {
    std::string_view text;
    std::int16_t expected;
};

TEST(ToInteger, ReadsDecimalNotationRoundingHalvesToEven) {
    const IntegerCase cases[] = {
        {"-7", -7},      {"+7", 7},        {" 12 ", 12},     {"2.5", 2},     {"3.5", 4},
        {"0.5", 0},      {"-2.5", -2},     {"-3.5", -4},     {"2.51", 3},    {"2.500", 2},
        {"2.4999", 2},   {"-0.4", 0},      {".6", 1},        {"5.", 5},      {"32767", 32767},
        {"-32768", -32768}, {"32767.5", 0}, {"-32768.5", -32768},
        {"32768", 0},    {"-32769", 0},    {"99999999999999999999999", 0},
        {"", 0},         {"abc", 0},       {"1a", 0},        {"1e2", 0},     {"1.2.3", 0},
        {".", 0},        {"+-1", 0},       {"1 2", 0},       {"\t1", 0},     {"１", 0},
    };
    for (const IntegerCase& c : cases) {
        EXPECT_EQ(toInteger(c.text), c.expected) << "text \"" << c.text << "\"";
    }
}

TEST(TextToFlag, IsTrueExactlyForTheNumberOne) {
    for (std::string_view text : {"1", "01", "1.0", " 1 ", "0.5000001", "1.4", "+1"}) {
        EXPECT_TRUE(textToFlag(text)) << text;
    }
    for (std::string_view text : {"0", "", "2", "-1", "0.5", "1.5", "yes", "65537"}) {
        EXPECT_FALSE(textToFlag(text)) << text;
    }
}

TEST(ZeroPad, PadsToWidthWithoutCutting) {
    EXPECT_EQ(zeroPad(5, 2), "05");
    EXPECT_EQ(zeroPad(123, 2), "123");
    EXPECT_EQ(zeroPad(-5, 2), "-05");
    EXPECT_EQ(zeroPad(-123, 2), "-123");
    EXPECT_EQ(zeroPad(42, 5), "00042");
    EXPECT_EQ(zeroPad(std::numeric_limits<long long>::min(), 2), "-9223372036854775808");
}

TEST(ToTrimmedText, RemovesOnlySurroundingSpaces) {
    EXPECT_EQ(toTrimmedText("  朝 会  "), "朝 会");
    EXPECT_EQ(toTrimmedText("   "), "");
    EXPECT_EQ(toTrimmedText("\tx\t"), "\tx\t");
    EXPECT_EQ(toTrimmedText(-12LL), "-12");
}

struct LineCase {
    std::string_view given;
    std::string_view held;  // formatAlarmLine(parseAlarmLine(given))
};

TEST(AlarmLine, IsNormalisedThroughTheRecord) {
    const LineCase cases[] = {
        {kDefaultAlarmLine, kDefaultAlarmLine},
        {"1, 朝会 ,1,1,1,1,1,1,1,7,0,0,,1", "1,朝会,1,1,1,1,1,1,1,07,00,00,,1"},
        {"1,a,1,0,0,0,0,0,0,7,5,3,x.wav,1", "1,a,1,0,0,0,0,0,0,07,05,03,x.wav,1"},
        // Flags: 2 and -1 are false, 1.0 and 01 are true.
        {"2,a,-1,1.0,01, 1 ,0,,x,0,0,0,,-1", "0,a,0,1,1,1,0,0,0,00,00,00,,0"},
        // No range check on the clock fields; a word reads as 0.
        {"1,a,0,0,0,0,0,0,0,123,word,99,,0", "1,a,0,0,0,0,0,0,0,123,00,99,,0"},
        {"1,a,0,0,0,0,0,0,0,-5,2.5,3.5,,0", "1,a,0,0,0,0,0,0,0,-05,02,04,,0"},
        // Out of the 16-bit range reads like a word.
        {"32768,a,0,0,0,0,0,0,0,32768,-32769,32767,,1", "0,a,0,0,0,0,0,0,0,00,00,32767,,1"},
        // Inner spaces stay, outer ones go, in both texts.
        {"1,  a  b ,0,0,0,0,0,0,0,1,2,3,  C:\\my sounds\\x y.wav  ,0",
         "1,a  b,0,0,0,0,0,0,0,01,02,03,C:\\my sounds\\x y.wav,0"},
        // Fields after the fourteenth are dropped.
        {"1,a,0,0,0,0,0,0,0,1,2,3,f,1,extra,more", "1,a,0,0,0,0,0,0,0,01,02,03,f,1"},
    };
    for (const LineCase& c : cases) {
        const std::optional<AlarmRecord> record = parseAlarmLine(c.given);
        ASSERT_TRUE(record.has_value()) << c.given;
        EXPECT_EQ(formatAlarmLine(*record), c.held) << c.given;
    }
}

TEST(AlarmLine, ParsesEveryFieldIntoItsPlace) {
    const std::optional<AlarmRecord> record = parseAlarmLine("0,帰宅,1,0,1,0,0,0,1,18,05,09,lock,1");
    ASSERT_TRUE(record.has_value());
    EXPECT_FALSE(record->enabled);
    EXPECT_EQ(record->name, "帰宅");
    EXPECT_EQ(record->days, (std::array<bool, 7>{true, false, true, false, false, false, true}));
    EXPECT_EQ(record->hour, 18);
    EXPECT_EQ(record->minute, 5);
    EXPECT_EQ(record->second, 9);
    EXPECT_EQ(record->file, "lock");
    EXPECT_TRUE(record->deleteAfterRun);

    EXPECT_EQ(parseAlarmLine(kDefaultAlarmLine), AlarmRecord{});
    EXPECT_EQ(formatAlarmLine(AlarmRecord{}), kDefaultAlarmLine);
}

TEST(AlarmLine, FewerThanFourteenFieldsYieldNoRecord) {
    for (std::string_view line : {"", "   ", "1.1", "1,a,0,0,0,0,0,0,0,1,2,3,f"}) {
        EXPECT_FALSE(parseAlarmLine(line).has_value()) << "\"" << line << "\"";
    }
    EXPECT_TRUE(parseAlarmLine(",,,,,,,,,,,,,").has_value());
}

}  // namespace
}  // namespace kolvi
