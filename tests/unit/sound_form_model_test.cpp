#include "notify/sound_form_model.h"

#include <gtest/gtest.h>

#include <tuple>

#include "notify/extension.h"
#include "platform/posix/iconv_codec.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using Calls = std::vector<std::string>;

constexpr AlarmMode kFire = AlarmMode::fire, kPreview = AlarmMode::preview;
constexpr const char* kFired = "1,会議,0,1,1,1,1,1,0,10,00,00,C:\\s\\bell.wav,0";

LocalTime at(int hour, int minute, int second, int weekday = 3) { return {weekday, hour, minute, second}; }

class SoundFormModelTest : public ::testing::Test {
protected:
    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, "C:\\prog\\kolvialarm.ini"};
    test::RecordingSoundDevice sound;
    test::TestClock clock;
};

// What a span reads as, and where it lands in the week, is also checked over
// the extension span fuzzer's corpus; here the refusals and the extremes. A
// value that does not parse gives the digit's default of N minutes.
TEST_F(SoundFormModelTest, EachDigitKeyReadsItsSpanFromTheSettings) {
    for (const char* text : {"", "1:2:3:4", "1::3", "32768:0:0", "0:-32769:0", "1.5:0:0", "1 2:0:0", "１:0:0"}) {
        EXPECT_EQ(parseExtensionSpan(text), std::nullopt) << text;  // the last with a full-width digit
    }
    fs.put(settings.path(), "[alarm]\r\nkey1=01:30:00\r\nkey2=00:00:00\r\nkey3=abc\r\nkey6=\r\nkey7= 0:0:-30 \r\nKEY8=2:0:0");
    const ExtensionSpan expected[] = {
        {1, 30, 0}, {0, 0, 0}, {0, 3, 0}, {0, 4, 0}, {0, 5, 0}, {0, 6, 0}, {0, 0, -30}, {2, 0, 0}, {0, 9, 0},
    };
    for (int digit = 1; digit <= 9; ++digit) EXPECT_EQ(readExtensionSpan(settings, digit), expected[digit - 1]) << digit;
}

// Only a positive sum extends: 1:-30:0 is a later time, yet adds up to less
// than 1. The due time wraps past midnight and the week, either way, and the
// extension's line keeps the switch, the file and any fields after the
// fourteenth, whatever the old time and days.
TEST(Extension, DueTimeAndLine) {
    for (const auto& [span, extends] : {std::pair{ExtensionSpan{0, 0, 0}, false}, {{0, 0, 1}, true}, {{1, -30, 0}, false},
                                        {{0, -1, 2}, true}, {{32767, 32767, 32767}, true}, {{-32768, -32768, -32768}, false}}) {
        EXPECT_EQ(extendsAlarm(span), extends) << span.hours << ':' << span.minutes << ':' << span.seconds;
    }
    const std::tuple<LocalTime, ExtensionSpan, LocalTime> cases[] = {
        {at(23, 0, 0), {1, 30, 0}, at(0, 30, 0, 4)},  {at(0, 0, 10), {0, 0, -20}, at(23, 59, 50, 2)},
        {at(22, 0, 0, 6), {3, 0, 0}, at(1, 0, 0, 0)}, {at(1, 0, 0, 0), {-3, 0, 0}, at(22, 0, 0, 6)},
        // The largest spans: over 1388 days either way, without overflow.
        {at(23, 59, 59), {32767, 32767, 32767}, at(10, 13, 6, 6)}, {at(0, 0, 0), {-32768, -32768, -32768}, at(12, 45, 52, 0)},
    };
    for (const auto& [now, span, due] : cases) {
        EXPECT_EQ(extendedTime(now, span), due) << now.weekday << ' ' << now.hour << ':' << now.minute << ':'
                                                << now.second << " + " << span.hours << ':' << span.minutes << ':' << span.seconds;
    }
    EXPECT_EQ(buildExtensionLine("0,x,0,0,0,0,0,0,0,99,99,99,C:\\音\\a b.wav,0,extra", at(4, 5, 6)),
              "0,xの延長,1,1,1,1,1,1,1,04,05,06,C:\\音\\a b.wav,1,extra");
    EXPECT_EQ(buildExtensionLine("1,a,0,0,0,0,0,0,0,01,02,03,b.wav", at(4, 5, 6)), std::nullopt);  // nothing to extend
}

// A digit 1-9 closes an alarm's window, not a preview's; a full-width digit
// is the same key typed with the Japanese input on.
TEST_F(SoundFormModelTest, OnlyDigitsOneToNineCloseAnAlarmsWindow) {
    fs.put(settings.path(), "[alarm]\r\nkey7=01:02:03\r\n");
    const std::tuple<AlarmMode, char32_t, bool, ExtensionSpan> cases[] = {
        {kFire, U'1', true, {0, 1, 0}}, {kFire, U'9', true, {0, 9, 0}}, {kFire, U'7', true, {1, 2, 3}},
        {kFire, U'0', false, {}},       {kFire, U'a', false, {}},       {kFire, U'５', true, {0, 5, 0}},
        {kPreview, U'5', false, {}},
    };
    for (const auto& [mode, key, closes, span] : cases) {
        SoundFormModel window(mode, SoundApi::mci, 4242, kFired);
        EXPECT_EQ(std::pair(window.keyPress(key, settings), window.span()), std::pair(closes, span)) << static_cast<unsigned>(key);
    }
}

// However the window goes, its sound stops; an extension counts from that
// moment. Key 0: closed by the button, a close box or the program ending.
// Only the first unload acts, and then no key is taken.
TEST_F(SoundFormModelTest, UnloadStopsTheSoundAndDecidesTheExtension) {
    fs.put(settings.path(), "[alarm]\r\nkey2=00:00:00\r\n");
    enum Target { fileOpen, fileClosed, noList };
    const UnloadOutcome nothing, tellNoFile{UnloadAction::tellNoFileOpen, {}},
        extension{UnloadAction::addExtension, "1,会議の延長,1,1,1,1,1,1,1,10,05,17,C:\\s\\bell.wav,1"};
    const std::tuple<AlarmMode, char32_t, Target, UnloadOutcome> cases[] = {
        {kFire, U'5', fileOpen, extension}, {kFire, U'2', fileOpen, nothing},      {kFire, 0, fileOpen, nothing},
        {kPreview, U'5', fileOpen, nothing}, {kFire, U'5', fileClosed, tellNoFile}, {kFire, U'5', noList, tellNoFile},
        {kFire, 0, fileClosed, nothing},
    };
    for (const auto& [mode, key, target, outcome] : cases) {
        AlarmList list;
        if (target == fileOpen) list.setTag("list.alm");
        clock.time = at(0, 0, 0);
        SoundFormModel window(mode, SoundApi::mci, 4242, kFired);
        if (key != 0) window.keyPress(key, settings);
        clock.time = at(10, 0, 17);
        sound.calls.clear();
        EXPECT_EQ(window.unload(sound, clock, target == noList ? nullptr : &list), outcome) << static_cast<unsigned>(key) << target;
        EXPECT_EQ(window.unload(sound, clock, &list), UnloadOutcome{});
        EXPECT_FALSE(window.keyPress(U'1', settings));
        EXPECT_EQ(sound.calls, (Calls{"mci:stop 4242PL", "mci:close 4242PL"})) << static_cast<unsigned>(key) << target;
    }
}

// sound/usemci: 0 the system player, 1 the multimedia commands under the
// window's own alias (blanks stay inside the quotes), anything else nothing.
TEST_F(SoundFormModelTest, TheSettingChoosesThePlayer) {
    const std::tuple<int, Calls> cases[] = {
        {0, {"play:C:\\a b.wav", "stop"}},
        {1, {"mci:open \"C:\\a b.wav\" alias 99PL", "mci:play 99PL from 0", "mci:stop 99PL", "mci:close 99PL"}},
        {2, {}}, {-1, {}},
    };
    for (const auto& [useMci, calls] : cases) {
        sound.calls.clear();
        SoundFormModel window(kFire, soundApiFromSetting(useMci), 99, kFired);
        window.startSound(sound, "C:\\a b.wav");
        window.unload(sound, clock, nullptr);
        EXPECT_EQ(sound.calls, calls) << useMci;
    }
}

// The typing guard: for its milliseconds after the window appeared (at
// 10'000), the keys that close or extend it are dropped; other keys and a
// guard of 0 pass.
TEST(SoundFormGuard, KeysThatCloseOrExtendAreIgnoredForTheGuardAfterAppearing) {
    const std::tuple<std::uint32_t, char32_t, std::uint64_t, bool> cases[] = {
        // guard, key, when, ignored
        {500, U'5', 10'000, true},    {500, U'5', 10'499, true}, {500, U'5', 10'500, false}, {500, U'\r', 10'100, true},
        {500, U'\x1b', 10'100, true}, {500, U' ', 10'100, true}, {500, U'a', 10'100, false}, {500, U'5', 9'000, true},
        {0, U'5', 10'000, false},
    };
    for (const auto& [guardMs, key, atMs, ignored] : cases) {
        SoundFormModel window(kFire, SoundApi::mci, 1, "");
        window.setShown(10'000, guardMs);
        EXPECT_EQ(window.ignoresKey(key, atMs), ignored) << guardMs << " ms, key " << static_cast<unsigned>(key) << " at " << atMs;
    }
}

}  // namespace
}  // namespace kolvi
