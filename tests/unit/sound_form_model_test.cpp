#include "notify/sound_form_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using Calls = std::vector<std::string>;

constexpr std::uint64_t kHandle = 4242;
constexpr const char* kFired = "1,会議,0,1,1,1,1,1,0,10,00,00,C:\\s\\bell.wav,0";

LocalTime at(int hour, int minute, int second) { return {3, hour, minute, second}; }

class SoundFormModelTest : public ::testing::Test {
protected:
    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, "C:\\prog\\kolvialarm.ini"};
    test::RecordingSoundDevice sound;
    test::TestClock clock;
};

TEST_F(SoundFormModelTest, OnlyDigitsOneToNineCloseAnAlarmsWindow) {
    fs.put(settings.path(), "[alarm]\r\nkey7=01:02:03\r\n");
    const std::tuple<AlarmMode, char32_t, bool, ExtensionSpan> cases[] = {
        {AlarmMode::fire, U'1', true, {0, 1, 0}}, {AlarmMode::fire, U'9', true, {0, 9, 0}},
        {AlarmMode::fire, U'7', true, {1, 2, 3}}, {AlarmMode::fire, U'0', false, {}},
        {AlarmMode::fire, U'a', false, {}},       {AlarmMode::fire, U'５', true, {0, 5, 0}},  // a full-width five, typed with the IME on
        {AlarmMode::preview, U'5', false, {}},
    };
    for (const auto& [mode, key, closes, span] : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(mode) << " key " << static_cast<unsigned>(key));
        SoundFormModel window(mode, SoundApi::mci, kHandle, kFired);
        EXPECT_EQ(window.keyPress(key, settings), closes);
        EXPECT_EQ(window.span(), span);
    }
}

// However the window goes, its sound stops; an extension counts from that
// moment. Key 0: closed by the button, a close box or the program ending.
TEST_F(SoundFormModelTest, UnloadStopsTheSoundAndDecidesTheExtension) {
    fs.put(settings.path(), "[alarm]\r\nkey2=00:00:00\r\nkey3=01:30:00\r\n");
    enum Target { fileOpen, fileClosed, noList };
    const auto extension = [](const char* time) {
        const std::string line = "1,会議の延長,1,1,1,1,1,1,1," + std::string(time) + ",C:\\s\\bell.wav,1";
        return UnloadOutcome{UnloadAction::addExtension, line};
    };
    const UnloadOutcome nothing, tellNoFile{UnloadAction::tellNoFileOpen, {}};
    const std::tuple<const char*, AlarmMode, LocalTime, char32_t, Target, UnloadOutcome> cases[] = {
        {"digit 5, default span", AlarmMode::fire, at(10, 0, 17), U'5', fileOpen, extension("10,05,17")},
        {"span past midnight", AlarmMode::fire, at(23, 0, 0), U'3', fileOpen, extension("00,30,00")},
        {"zero span", AlarmMode::fire, at(10, 0, 0), U'2', fileOpen, nothing},
        {"closed without a digit", AlarmMode::fire, at(10, 0, 0), 0, fileOpen, nothing},
        {"file closed meanwhile", AlarmMode::fire, at(10, 0, 0), U'5', fileClosed, tellNoFile},
        {"no list", AlarmMode::fire, at(10, 0, 0), U'5', noList, tellNoFile},
        {"no file and no digit", AlarmMode::fire, at(10, 0, 0), 0, fileClosed, nothing},
        {"preview", AlarmMode::preview, at(10, 0, 0), U'5', fileOpen, nothing},
    };
    for (const auto& [what, mode, now, key, target, outcome] : cases) {
        AlarmList list;
        if (target == fileOpen) list.setTag("list.alm");
        clock.time = at(0, 0, 0);
        SoundFormModel window(mode, SoundApi::mci, kHandle, kFired);
        if (key != 0) window.keyPress(key, settings);
        clock.time = now;
        sound.calls.clear();
        EXPECT_EQ(window.unload(sound, clock, target == noList ? nullptr : &list), outcome) << what;
        EXPECT_EQ(sound.calls, (Calls{"mci:stop 4242PL", "mci:close 4242PL"})) << what;
    }
}

TEST_F(SoundFormModelTest, OnlyTheFirstUnloadActsAndEndingTheProgramAddsNothing) {
    AlarmList list;
    list.setTag("list.alm");
    SoundFormModel window(AlarmMode::fire, SoundApi::mci, kHandle, kFired);
    ASSERT_TRUE(window.keyPress(U'1', settings));
    EXPECT_EQ(window.unload(sound, clock, &list).action, UnloadAction::addExtension);
    EXPECT_EQ(window.unload(sound, clock, &list), UnloadOutcome{});
    EXPECT_FALSE(window.keyPress(U'1', settings));
    EXPECT_EQ(sound.calls.size(), 2u);  // one stop and one close

    SoundFormModel ending(AlarmMode::fire, SoundApi::systemPlayer, kHandle, kFired);
    ASSERT_TRUE(ending.keyPress(U'4', settings));
    ending.closeWithoutExtension();
    EXPECT_EQ(ending.unload(sound, clock, &list), UnloadOutcome{});
    EXPECT_EQ(sound.calls.back(), "stop");
}

// sound/usemci: 0 the system player, 1 the multimedia commands under the
// window's own alias (blanks stay inside the quotes), anything else nothing.
TEST_F(SoundFormModelTest, TheSettingChoosesThePlayer) {
    const std::tuple<int, Calls, Calls> cases[] = {
        {0, {"play:C:\\a b.wav"}, {"stop"}},
        {1, {"mci:open \"C:\\a b.wav\" alias 99PL", "mci:play 99PL from 0"}, {"mci:stop 99PL", "mci:close 99PL"}},
        {2, {}, {}},
        {-1, {}, {}},
    };
    for (const auto& [useMci, start, stop] : cases) {
        SoundFormModel window(AlarmMode::fire, soundApiFromSetting(useMci), 99, kFired);
        window.startSound(sound, "C:\\a b.wav");
        EXPECT_EQ(sound.calls, start) << useMci;
        sound.calls.clear();
        window.unload(sound, clock, nullptr);
        EXPECT_EQ(sound.calls, stop) << useMci;
        sound.calls.clear();
    }
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
