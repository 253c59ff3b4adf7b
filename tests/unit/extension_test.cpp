#include "notify/extension.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

LocalTime at(int hour, int minute, int second, int weekday = 3) { return {weekday, hour, minute, second}; }

TEST(Extension, SpanIsThreeSixteenBitIntegers) {
    const std::pair<std::string, std::optional<ExtensionSpan>> cases[] = {
        {"01:30:00", ExtensionSpan{1, 30, 0}}, {"-1:90:-5", ExtensionSpan{-1, 90, -5}},
        {"+2: 3 :4", ExtensionSpan{2, 3, 4}},  {"32767:-32768:0", ExtensionSpan{32767, -32768, 0}},
        {"", std::nullopt},    {"1:2", std::nullopt},        {"1:2:3:4", std::nullopt}, {"1::3", std::nullopt},
        {"32768:0:0", std::nullopt}, {"0:-32769:0", std::nullopt}, {"0:0:99999999999999999999", std::nullopt},
        {"1.5:0:0", std::nullopt}, {"1 2:0:0", std::nullopt},
        {"１:0:0", std::nullopt},  // a full-width digit
    };
    for (const auto& [text, span] : cases) EXPECT_EQ(parseExtensionSpan(text), span) << text;
}

// A value that does not parse gives the digit's default of N minutes.
TEST(Extension, SpanOfEachDigitKeyIsReadFromTheSettings) {
    test::MemoryFileSystem fs;
    IconvCodec codec;
    const SettingsFile settings(fs, codec, "C:\\prog\\kolvialarm.ini");
    fs.put(settings.path(),
           "[alarm]\r\nkey1=01:30:00\r\nkey2=00:00:00\r\nkey3=abc\r\nkey6=\r\nkey7= 0:0:-30 \r\nKEY8=2:0:0\r\n");
    const ExtensionSpan expected[] = {
        {1, 30, 0}, {0, 0, 0}, {0, 3, 0}, {0, 4, 0}, {0, 5, 0}, {0, 6, 0}, {0, 0, -30}, {2, 0, 0}, {0, 9, 0},
    };
    for (int digit = 1; digit <= 9; ++digit) {
        EXPECT_EQ(readExtensionSpan(settings, digit), expected[digit - 1]) << digit;
    }
}

TEST(Extension, OnlyAPositiveSumExtends) {
    const std::pair<ExtensionSpan, bool> cases[] = {
        {{0, 0, 0}, false}, {{0, 0, 1}, true},
        {{1, -30, 0}, false},  // a later time, but the numbers add up to less than 1
        {{0, -1, 2}, true},    // an earlier time, but the numbers add up to 1
        {{32767, 32767, 32767}, true}, {{-32768, -32768, -32768}, false},
    };
    for (const auto& [span, extends] : cases) {
        EXPECT_EQ(extendsAlarm(span), extends) << span.hours << ':' << span.minutes << ':' << span.seconds;
    }
}

TEST(Extension, DueTimeCarriesBorrowsAndWraps) {
    const struct {
        LocalTime now;
        ExtensionSpan span;
        LocalTime due;
    } cases[] = {
        {at(10, 0, 17), {0, 5, 0}, at(10, 5, 17)},
        {at(23, 0, 0), {1, 30, 0}, at(0, 30, 0, 4)},
        {at(12, 0, 50), {0, 0, 75}, at(12, 2, 5)},
        {at(12, 0, 0), {-1, 90, -5}, at(12, 29, 55)},
        {at(0, 0, 10), {0, 0, -20}, at(23, 59, 50, 2)},
        {at(22, 0, 0, 6), {3, 0, 0}, at(1, 0, 0, 0)},   // Saturday into Sunday
        {at(1, 0, 0, 0), {-3, 0, 0}, at(22, 0, 0, 6)},  // and back
        // The largest spans: over 1388 days either way, without overflow.
        {at(23, 59, 59), {32767, 32767, 32767}, at(10, 13, 6, 6)},
        {at(0, 0, 0), {-32768, -32768, -32768}, at(12, 45, 52, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(extendedTime(c.now, c.span), c.due)
            << c.now.hour << ':' << c.now.minute << ':' << c.now.second << " + " << c.span.hours << ':'
            << c.span.minutes << ':' << c.span.seconds;
    }
}

TEST(Extension, ExtensionLineRewritesOnlyItsFields) {
    const std::tuple<std::string, LocalTime, std::optional<std::string>> cases[] = {
        {"1,会議,0,1,1,1,1,1,0,10,00,00,C:\\音\\bell one.wav,0", at(10, 5, 17),
         "1,会議の延長,1,1,1,1,1,1,1,10,05,17,C:\\音\\bell one.wav,1"},
        // The switch and the file stay; the old time and weekdays do not matter.
        {"0,x,0,0,0,0,0,0,0,99,99,99,lock,1", at(0, 0, 0), "0,xの延長,1,1,1,1,1,1,1,00,00,00,lock,1"},
        {"1,a,0,0,0,0,0,0,0,01,02,03,b.wav,0,extra", at(4, 5, 6), "1,aの延長,1,1,1,1,1,1,1,04,05,06,b.wav,1,extra"},
        {"1,a,0,0,0,0,0,0,0,01,02,03,b.wav", at(4, 5, 6), std::nullopt},
    };
    for (const auto& [fired, due, extension] : cases) EXPECT_EQ(buildExtensionLine(fired, due), extension) << fired;
}

}  // namespace
}  // namespace kolvi
