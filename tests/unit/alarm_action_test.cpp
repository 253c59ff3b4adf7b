#include "schedule/alarm_action.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/posix/iconv_codec.h"
#include "text/fields.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

constexpr const char* kIni = "C:\\prog\\kolvialarm.ini";

std::string lineWithFile(const std::string& name, const std::string& file) {
    return "1," + name + ",1,1,1,1,1,1,1,07,00,00," + file + ",0";
}

// Stands in for the control command words.
bool isCommand(std::string_view text) { return text == "Lock"; }

AlarmAction message(std::string name) {
    AlarmAction action;
    action.showMessageBox = !name.empty();
    action.name = std::move(name);
    return action;
}

AlarmAction withFile(AlarmActionKind kind, std::string file) {
    AlarmAction action;
    action.kind = kind;
    action.file = std::move(file);
    return action;
}

AlarmAction sound(std::string file, std::string title, std::string text, AlarmMode mode, SoundApi api) {
    AlarmAction action = withFile(AlarmActionKind::soundWindow, std::move(file));
    action.title = std::move(title);
    action.message = std::move(text);
    action.mode = mode;
    action.soundApi = api;
    return action;
}

TEST(AlarmAction, ChoosesByTheFileFieldModeAndSoundSettings) {
    constexpr AlarmMode F = AlarmMode::fire, P = AlarmMode::preview;
    constexpr SoundApi MCI = SoundApi::mci;
    const std::string bell = "C:\\sound\\bell.WAV";
    const struct {
        const char* what;
        std::string ini;  // the sound section; "" for no settings file
        std::string line;
        AlarmMode mode;
        AlarmAction expected;
    } cases[] = {
        {"no file: the name", "", lineWithFile("会議", ""), P, message("会議")},
        {"no file, no name: front only", "", lineWithFile("", ""), F, message("")},
        {"a control command", "", lineWithFile("x", "Lock"), P, withFile(AlarmActionKind::controlCommand, "Lock")},
        {"a sound file", "", lineWithFile("朝会", bell), F, sound(bell, "アラーム", "朝会", F, MCI)},
        {"a sound file, system sound player", "usemci=0", lineWithFile("朝会", bell), F,
         sound(bell, "アラーム", "朝会", F, SoundApi::systemPlayer)},
        {"a sound file, previewed", "", lineWithFile("朝会", bell), P,
         sound(bell, "プレビュー", "bell.WAV の再生プレビューです。", P, MCI)},
        {"full-width extension", "", lineWithFile("n", "ベル．ＷＡＶ"), F, sound("ベル．ＷＡＶ", "アラーム", "n", F, MCI)},
        {"any other file", "", lineWithFile("n", "tune.mid"), F, withFile(AlarmActionKind::shellOpen, "tune.mid")},
        {"a type added to the list", "enabletype=wav,mp3,mid", lineWithFile("n", "tune.mid"), F,
         sound("tune.mid", "アラーム", "n", F, MCI)},
        {"an empty list", "enabletype=", lineWithFile("n", "a.wav"), F, withFile(AlarmActionKind::shellOpen, "a.wav")},
    };
    IconvCodec codec;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::MemoryFileSystem fs;
        if (!c.ini.empty()) fs.put(kIni, "[sound]\r\n" + c.ini + "\r\n");
        const SettingsFile settings(fs, codec, kIni);
        EXPECT_EQ(decideAlarmAction(c.line, c.mode, settings, isCommand), c.expected);
    }
}

// The last three characters, full-width letters and digits made half-width, then lower case.
TEST(AlarmAction, SoundExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"x.aiff", "iff"}, {"x.au", ".au"},  {"ab", "ab"},     {"", ""},         {"音.ＭＰ３", "mp3"},
        {"ベル音", "ベル音"}, {"x.Ｗａｖ", "wav"}, {"ｚＺ９", "zz9"}, {"x．ａｕ", "．au"}, {"C:\\a\\b.Mp3", "mp3"},
    };
    for (const auto& [file, extension] : cases) EXPECT_EQ(soundExtension(file), extension) << file;
}

// The sound types: an extension counts only as a whole field of the list.
TEST(AlarmAction, SoundTypesAreWholeFieldsOfTheList) {
    const std::tuple<std::string_view, std::string_view, bool> cases[] = {
        {"wav,mp3", "wav", true}, {"wav,mp3", "mp3", true},      {"wav,mp3", "MP3", false}, {"wav, mp3", "mp3", false},
        {"wav,mp3", "wa", false}, {"wav,mp3", "wav,mp3", false}, {"", "", false},           {"wav,", "", true},
    };
    for (const auto& [list, item, expected] : cases) {
        EXPECT_EQ(fieldListContains(list, item), expected) << list << " / " << item;
    }
}

}  // namespace
}  // namespace kolvi
