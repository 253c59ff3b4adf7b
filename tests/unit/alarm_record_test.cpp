#include "store/alarm_record.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvi {
namespace {

TEST(ToInteger, ReadsDecimalNotationRoundingHalvesToEven) {
    const std::pair<std::string_view, std::int16_t> cases[] = {
        {"-7", -7},      {"+7", 7},        {" 12 ", 12},     {"2.5", 2},     {"3.5", 4},
        {"0.5", 0},      {"-2.5", -2},     {"-3.5", -4},     {"2.51", 3},    {"2.500", 2},
        {"2.4999", 2},   {"-0.4", 0},      {".6", 1},        {"5.", 5},      {"32767", 32767},
        {"-32768", -32768}, {"32767.5", 0}, {"-32768.5", -32768},
        {"32768", 0},    {"-32769", 0},    {"99999999999999999999999", 0},
        {"", 0},         {"abc", 0},       {"1a", 0},        {"1e2", 0},     {"1.2.3", 0},
        {".", 0},        {"+-1", 0},       {"1 2", 0},       {"\t1", 0},     {"１", 0},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(toInteger(text), expected) << "text \"" << text << "\"";
}

// formatAlarmLine(parseAlarmLine(line)): the form every row keeps.
TEST(AlarmLine, IsNormalisedThroughTheRecord) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {kDefaultAlarmLine, kDefaultAlarmLine},
        {"0,帰宅,1,0,1,0,0,0,1,18,5,9,lock,1", "0,帰宅,1,0,1,0,0,0,1,18,05,09,lock,1"},
        // Flags: only the number 1 is true (2, -1 and 1.5 are not; 1.0, 01 and 0.5000001 are).
        {"2,a,-1,1.0,01, 1 ,1.5,0.5000001,x,0,0,0,,-1", "0,a,0,1,1,1,0,1,0,00,00,00,,0"},
        // No range check on the clock fields; a word reads as 0.
        {"1,a,0,0,0,0,0,0,0,123,word,99,,0", "1,a,0,0,0,0,0,0,0,123,00,99,,0"},
        {"1,a,0,0,0,0,0,0,0,-5,2.5,3.5,,0", "1,a,0,0,0,0,0,0,0,-05,02,04,,0"},
        // Out of the 16-bit range reads like a word.
        {"32768,a,0,0,0,0,0,0,0,32768,-32769,32767,,1", "0,a,0,0,0,0,0,0,0,00,00,32767,,1"},
        // Only outer spaces go, in both texts (not tabs).
        {"1,  a  b ,0,0,0,0,0,0,0,1,2,3,  C:\\my sounds\\x y.wav  ,0",
         "1,a  b,0,0,0,0,0,0,0,01,02,03,C:\\my sounds\\x y.wav,0"},
        {"1,\ta\t,0,0,0,0,0,0,0,0,0,0,   ,0", "1,\ta\t,0,0,0,0,0,0,0,00,00,00,,0"},
        // Fields after the fourteenth are dropped.
        {"1,a,0,0,0,0,0,0,0,1,2,3,f,1,extra,more", "1,a,0,0,0,0,0,0,0,01,02,03,f,1"},
        {",,,,,,,,,,,,,", "0,,0,0,0,0,0,0,0,00,00,00,,0"},
    };
    for (const auto& [given, held] : cases) {
        const std::optional<AlarmRecord> record = parseAlarmLine(given);
        ASSERT_TRUE(record.has_value()) << given;
        EXPECT_EQ(formatAlarmLine(*record), held) << given;
    }
    for (std::string_view line : {"", "1.1", "1,a,0,0,0,0,0,0,0,1,2,3,f"}) {
        EXPECT_EQ(parseAlarmLine(line), std::nullopt) << "\"" << line << "\"";
    }
}

}  // namespace
}  // namespace kolvi
