#include "schedule/alarm_action.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using K = AlarmActionKind;
constexpr AlarmMode F = AlarmMode::fire, P = AlarmMode::preview;

AlarmAction act(K kind, std::string file, std::string title = "", std::string text = "", AlarmMode mode = F,
                SoundApi api = SoundApi::mci) {
    return {kind, false, "", std::move(file), std::move(title), std::move(text), mode, api};
}

// A sound type counts only as a whole field of sound/enabletype (case and blanks count).
TEST(AlarmAction, ChoosesByTheFileFieldModeAndSoundSettings) {
    const std::string bell = "C:\\sound\\bell.WAV";
    const auto line = [](const std::string& name, const std::string& file) {
        return "1," + name + ",1,1,1,1,1,1,1,07,00,00," + file + ",0";
    };
    const std::tuple<const char*, std::string, std::string, AlarmMode, AlarmAction> cases[] = {
        // what, the sound section ("" for no settings file), line, mode, action
        {"no file: the name", "", line("会議", ""), P, {K::message, true, "会議", "", "", "", F, SoundApi::mci}},
        {"no file, no name: front only", "", line("", ""), F, {}},
        {"a control command", "", line("x", "Lock"), P, act(K::controlCommand, "Lock")},
        {"a sound file", "", line("朝会", bell), F, act(K::soundWindow, bell, "アラーム", "朝会")},
        {"the system sound player", "usemci=0", line("朝会", bell), F,
         act(K::soundWindow, bell, "アラーム", "朝会", F, SoundApi::systemPlayer)},
        {"previewed", "", line("朝会", bell), P, act(K::soundWindow, bell, "プレビュー", "bell.WAV の再生プレビューです。", P)},
        {"full-width", "", line("n", "ベル．ＷＡＶ"), F, act(K::soundWindow, "ベル．ＷＡＶ", "アラーム", "n")},
        {"any other file", "", line("n", "tune.mid"), F, act(K::shellOpen, "tune.mid")},
        {"a type added", "enabletype=wav,mid", line("n", "tune.mid"), F, act(K::soundWindow, "tune.mid", "アラーム", "n")},
        {"an empty list", "enabletype=", line("n", "a.wav"), F, act(K::shellOpen, "a.wav")},
        {"a blank in the list", "enabletype=wav, mp3", line("n", "a.mp3"), F, act(K::shellOpen, "a.mp3")},
        {"a type in capitals", "enabletype=MP3", line("n", "a.mp3"), F, act(K::shellOpen, "a.mp3")},
        {"part of a type", "enabletype=wavx", line("n", "a.wav"), F, act(K::shellOpen, "a.wav")},
    };
    IconvCodec codec;
    for (const auto& [what, ini, alarm, mode, expected] : cases) {
        test::MemoryFileSystem fs;
        const SettingsFile settings(fs, codec, "C:\\prog\\kolvialarm.ini");
        if (!ini.empty()) fs.put(settings.path(), "[sound]\r\n" + ini);
        EXPECT_EQ(decideAlarmAction(alarm, mode, settings, [](std::string_view text) { return text == "Lock"; }), expected)
            << what;
    }
}

// The last three characters, full-width letters and digits made half-width, then lower case.
TEST(AlarmAction, SoundExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"x.aiff", "iff"}, {"x.au", ".au"}, {"ab", "ab"}, {"", ""}, {"音.ＭＰ３", "mp3"},
        {"ベル音", "ベル音"}, {"x.Ｗａｖ", "wav"}, {"x．ａｕ", "．au"}, {"C:\\a\\b.Mp3", "mp3"},
    };
    for (const auto& [file, extension] : cases) EXPECT_EQ(soundExtension(file), extension) << file;
}

}  // namespace
}  // namespace kolvi
