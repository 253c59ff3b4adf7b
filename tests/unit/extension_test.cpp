#include "notify/extension.h"
#include "notify/sound_form_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

constexpr const char* kIni = "C:\\prog\\kolvialarm.ini";

LocalTime at(int hour, int minute, int second, int weekday = 3) { return {weekday, hour, minute, second}; }

class FixedClock final : public Clock {
public:
    LocalTime now() const override { return time; }
    LocalTime time;
};

TEST(ExtensionTest, SpanTexts) {
    const struct {
        std::string text;
        std::optional<ExtensionSpan> span;
    } cases[] = {
        {"01:30:00", ExtensionSpan{1, 30, 0}},
        {"0:5:0", ExtensionSpan{0, 5, 0}},
        {"-1:90:-5", ExtensionSpan{-1, 90, -5}},
        {"+2: 3 :4", ExtensionSpan{2, 3, 4}},
        {"32767:-32768:0", ExtensionSpan{32767, -32768, 0}},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"1:2", std::nullopt},
        {"1:2:3:4", std::nullopt},
        {"1::3", std::nullopt},
        {"32768:0:0", std::nullopt},
        {"0:-32769:0", std::nullopt},
        {"0:0:99999999999999999999", std::nullopt},
        {"1.5:0:0", std::nullopt},
        {"1 2:0:0", std::nullopt},
        {"１:0:0", std::nullopt},  // full-width digit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseExtensionSpan(c.text), c.span);
    }
}

class ExtensionSettingsTest : public ::testing::Test {
protected:
    void setAlarmSection(const std::string& lines) { fs.put(kIni, "[alarm]\r\n" + lines); }

    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, kIni};
};

TEST_F(ExtensionSettingsTest, ValuesThatDoNotParseFallBackToTheDigitsDefault) {
    setAlarmSection(
        "key1=01:30:00\r\nkey2=00:00:00\r\nkey3=abc\r\nkey4=1:2\r\nkey5=99999:0:0\r\n"
        "key6=\r\nkey7= 0:0:-30 \r\nKEY8=2:0:0\r\n");
    const ExtensionSpan expected[] = {
        {1, 30, 0}, {0, 0, 0}, {0, 3, 0}, {0, 4, 0}, {0, 5, 0}, {0, 6, 0}, {0, 0, -30}, {2, 0, 0}, {0, 9, 0},
    };
    for (int digit = 1; digit <= 9; ++digit) {
        SCOPED_TRACE(digit);
        EXPECT_EQ(readExtensionSpan(settings, digit), expected[digit - 1]);
    }
}

TEST(ExtensionTest, OnlyAPositiveSumExtends) {
    const struct {
        ExtensionSpan span;
        bool extends;
    } cases[] = {
        {{0, 0, 0}, false},
        {{0, 0, 1}, true},
        {{1, -30, 0}, false},  // a later time, but the numbers add up to less than 1
        {{0, -1, 2}, true},    // an earlier time, but the numbers add up to 1
        {{32767, 32767, 32767}, true},
        {{-32768, -32768, -32768}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.span.hours << ':' << c.span.minutes << ':' << c.span.seconds);
        EXPECT_EQ(extendsAlarm(c.span), c.extends);
    }
}

TEST(ExtensionTest, DueTimeCarriesBorrowsAndWraps) {
    const struct {
        LocalTime now;
        ExtensionSpan span;
        LocalTime due;
    } cases[] = {
        {at(10, 0, 17), {0, 5, 0}, at(10, 5, 17)},
        {at(23, 0, 0), {1, 30, 0}, at(0, 30, 0, 4)},
        {at(23, 59, 59), {0, 0, 1}, at(0, 0, 0, 4)},
        {at(12, 0, 50), {0, 0, 75}, at(12, 2, 5)},
        {at(12, 0, 0), {-1, 90, -5}, at(12, 29, 55)},
        {at(0, 0, 10), {0, 0, -20}, at(23, 59, 50, 2)},
        {at(22, 0, 0, 6), {3, 0, 0}, at(1, 0, 0, 0)},      // Saturday into Sunday
        {at(1, 0, 0, 0), {-3, 0, 0}, at(22, 0, 0, 6)},     // and back
        // The largest spans: over 1388 days either way, without overflow.
        {at(23, 59, 59), {32767, 32767, 32767}, at(10, 13, 6, 6)},
        {at(0, 0, 0), {-32768, -32768, -32768}, at(12, 45, 52, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.now.hour << ':' << c.now.minute << ':' << c.now.second << " + "
                                        << c.span.hours << ':' << c.span.minutes << ':' << c.span.seconds);
        EXPECT_EQ(extendedTime(c.now, c.span), c.due);
    }
}

TEST(ExtensionTest, ExtensionLineRewritesOnlyItsFields) {
    const struct {
        std::string fired;
        LocalTime due;
        std::optional<std::string> extension;
    } cases[] = {
        {"1,会議,0,1,1,1,1,1,0,10,00,00,C:\\音\\bell one.wav,0", at(10, 5, 17),
         "1,会議の延長,1,1,1,1,1,1,1,10,05,17,C:\\音\\bell one.wav,1"},
        // The switch and the file stay; the old time and weekdays do not matter.
        {"0,x,0,0,0,0,0,0,0,99,99,99,lock,1", at(0, 0, 0), "0,xの延長,1,1,1,1,1,1,1,00,00,00,lock,1"},
        {"1,会議の延長,1,1,1,1,1,1,1,10,05,17,a.wav,1", at(10, 10, 17),
         "1,会議の延長の延長,1,1,1,1,1,1,1,10,10,17,a.wav,1"},
        {"1,a,0,0,0,0,0,0,0,01,02,03,b.wav,0,extra", at(4, 5, 6), "1,aの延長,1,1,1,1,1,1,1,04,05,06,b.wav,1,extra"},
        {"1,a,0,0,0,0,0,0,0,01,02,03,b.wav", at(4, 5, 6), std::nullopt},
        {"", at(4, 5, 6), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fired);
        EXPECT_EQ(buildExtensionLine(c.fired, c.due), c.extension);
    }
}

class SoundFormModelTest : public ::testing::Test {
protected:
    static constexpr std::uint64_t kHandle = 4242;
    static constexpr const char* kFired = "1,会議,0,1,1,1,1,1,0,10,00,00,C:\\s\\bell.wav,0";

    SoundFormModelTest() {
        list.setTag("list.alm");
        clock.time = at(10, 0, 17);
    }

    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, kIni};
    test::RecordingSoundDevice sound;
    FixedClock clock;
    AlarmList list;
};

TEST_F(SoundFormModelTest, OnlyDigitsOneToNineCloseAnAlarmsWindow) {
    fs.put(kIni, "[alarm]\r\nkey7=01:02:03\r\n");
    const struct {
        AlarmMode mode;
        char32_t key;
        bool closes;
        ExtensionSpan span;
    } cases[] = {
        {AlarmMode::fire, U'1', true, {0, 1, 0}}, {AlarmMode::fire, U'9', true, {0, 9, 0}},
        {AlarmMode::fire, U'7', true, {1, 2, 3}}, {AlarmMode::fire, U'0', false, {}},
        {AlarmMode::fire, U'a', false, {}},       {AlarmMode::fire, U'５', false, {}},  // full-width five
        {AlarmMode::preview, U'5', false, {}}
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(c.mode) << " key " << static_cast<unsigned>(c.key));
        SoundFormModel window(c.mode, SoundApi::mci, kHandle, kFired);
        EXPECT_EQ(window.keyPress(c.key, settings), c.closes);
        EXPECT_EQ(window.span(), c.span);
    }
}

TEST_F(SoundFormModelTest, UnloadStopsTheSoundAndDecidesTheExtension) {
    enum Target { fileOpen, fileClosed, noList };
    const struct {
        std::string name;
        AlarmMode mode;
        std::string settingsFile;
        LocalTime now;
        char32_t key;  // 0: closed by the button, a close box or the program ending
        Target target;
        UnloadOutcome outcome;
    } cases[] = {
        {"digit 5, default span", AlarmMode::fire, "", at(10, 0, 17), U'5', fileOpen,
         {UnloadAction::addExtension, "1,会議の延長,1,1,1,1,1,1,1,10,05,17,C:\\s\\bell.wav,1"}},
        {"span past midnight", AlarmMode::fire, "[alarm]\r\nkey3=01:30:00\r\n", at(23, 0, 0), U'3', fileOpen,
         {UnloadAction::addExtension, "1,会議の延長,1,1,1,1,1,1,1,00,30,00,C:\\s\\bell.wav,1"}},
        {"zero span", AlarmMode::fire, "[alarm]\r\nkey2=00:00:00\r\n", at(10, 0, 0), U'2', fileOpen, {}},
        {"closed without a digit", AlarmMode::fire, "", at(10, 0, 0), 0, fileOpen, {}},
        {"file closed meanwhile", AlarmMode::fire, "", at(10, 0, 0), U'5', fileClosed, {UnloadAction::tellNoFileOpen, {}}},
        {"no list", AlarmMode::fire, "", at(10, 0, 0), U'5', noList, {UnloadAction::tellNoFileOpen, {}}},
        {"no file and no digit", AlarmMode::fire, "", at(10, 0, 0), 0, fileClosed, {}},
        {"preview", AlarmMode::preview, "", at(10, 0, 0), U'5', fileOpen, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.settingsFile.empty()) fs.put(kIni, c.settingsFile);
        test::RecordingSoundDevice device;
        AlarmList target;
        if (c.target == fileOpen) target.setTag("list.alm");
        clock.time = at(0, 0, 0);
        SoundFormModel window(c.mode, SoundApi::mci, kHandle, kFired);
        if (c.key != 0) window.keyPress(c.key, settings);
        clock.time = c.now;  // the extension counts from the moment the window goes away
        EXPECT_EQ(window.unload(device, clock, c.target == noList ? nullptr : &target), c.outcome);
        EXPECT_EQ(device.calls, (std::vector<std::string>{"mci:stop 4242PL", "mci:close 4242PL"}));
        fs.put(kIni, "");
    }
}

TEST_F(SoundFormModelTest, EndingTheProgramAfterADigitAddsNothing) {
    SoundFormModel window(AlarmMode::fire, SoundApi::systemPlayer, kHandle, kFired);
    ASSERT_TRUE(window.keyPress(U'4', settings));
    window.closeWithoutExtension();
    EXPECT_EQ(window.unload(sound, clock, &list), UnloadOutcome{});
    EXPECT_EQ(sound.calls, std::vector<std::string>{"stop"});
}

TEST_F(SoundFormModelTest, OnlyTheFirstUnloadActs) {
    SoundFormModel window(AlarmMode::fire, SoundApi::mci, kHandle, kFired);
    ASSERT_TRUE(window.keyPress(U'1', settings));
    EXPECT_EQ(window.unload(sound, clock, &list).action, UnloadAction::addExtension);
    EXPECT_EQ(window.unload(sound, clock, &list), UnloadOutcome{});
    EXPECT_FALSE(window.keyPress(U'1', settings));
    EXPECT_EQ(sound.calls.size(), 2u);  // one stop and one close
}

TEST_F(SoundFormModelTest, TheExtensionLineBecomesTheRowTheUserExpects) {
    SoundFormModel window(AlarmMode::fire, SoundApi::mci, kHandle, kFired);
    ASSERT_TRUE(window.keyPress(U'5', settings));
    const UnloadOutcome outcome = window.unload(sound, clock, &list);
    ASSERT_EQ(outcome.action, UnloadAction::addExtension);
    ASSERT_TRUE(list.addAlarmLine(outcome.line));
    EXPECT_EQ(list.row(0).tag, outcome.line);  // already in the form the list keeps
}

TEST(SoundFormGuard, KeysThatCloseOrExtendAreIgnoredForTheGuardAfterAppearing) {
    const struct {
        std::uint32_t guardMs;
        char32_t key;
        std::uint64_t atMs;  // the window appeared at 10'000
        bool ignored;
    } cases[] = {
        {500, U'5', 10'000, true},   {500, U'5', 10'499, true},  {500, U'5', 10'500, false},
        {500, U'\r', 10'100, true},  {500, U'\x1b', 10'100, true}, {500, U' ', 10'100, true},
        {500, U'a', 10'100, false},  {500, U'5', 9'000, true},    {0, U'5', 10'000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.guardMs << " ms, key " << static_cast<unsigned>(c.key) << " at " << c.atMs);
        SoundFormModel window(AlarmMode::fire, SoundApi::mci, 1, "");
        window.setShown(10'000, c.guardMs);
        EXPECT_EQ(window.ignoresKey(c.key, c.atMs), c.ignored);
    }
}

}  // namespace
}  // namespace kolvi
