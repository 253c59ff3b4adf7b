#include "schedule/alarm_action.h"
#include "text/fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

constexpr const char* kIni = "C:\\prog\\kolvialarm.ini";

std::string lineWithFile(const std::string& name, const std::string& file) {
    return "1," + name + ",1,1,1,1,1,1,1,07,00,00," + file + ",0";
}

// Stands in for the control command words.
bool isCommand(std::string_view text) { return text == "lock" || text == "Lock" || text == "exit"; }

AlarmAction message(std::string name) {
    AlarmAction action;
    action.kind = AlarmActionKind::message;
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
    struct Case {
        const char* what;
        std::string ini;  // UTF-8; "" for no settings file
        std::string line;
        AlarmMode mode;
        AlarmAction expected;
    };
    constexpr AlarmMode F = AlarmMode::fire, P = AlarmMode::preview;
    constexpr SoundApi MCI = SoundApi::mci, SYS = SoundApi::systemPlayer;
    const std::string bell = "C:\\sound\\bell.WAV";
    const std::string soundIni = "[sound]\r\n";
    const Case cases[] = {
        {"no file: the name", "", lineWithFile("会議", ""), F, message("会議")},
        {"no file, no name: front only", "", lineWithFile("", ""), F, message("")},
        {"no file, previewed", "", lineWithFile("会議", ""), P, message("会議")},
        {"a control command", "", lineWithFile("x", "Lock"), F, withFile(AlarmActionKind::controlCommand, "Lock")},
        {"a sound file", "", lineWithFile("朝会", bell), F, sound(bell, "アラーム", "朝会", F, MCI)},
        {"a sound file, system sound player", soundIni + "usemci=0\r\n", lineWithFile("朝会", bell), F,
         sound(bell, "アラーム", "朝会", F, SYS)},
        {"a sound file, previewed", "", lineWithFile("朝会", bell), P,
         sound(bell, "プレビュー", "bell.WAV の再生プレビューです。", P, MCI)},
        {"full-width extension", "", lineWithFile("n", "ベル．ＷＡＶ"), F, sound("ベル．ＷＡＶ", "アラーム", "n", F, MCI)},
        {"any other file", "", lineWithFile("n", "C:\\docs\\memo.txt"), F,
         withFile(AlarmActionKind::shellOpen, "C:\\docs\\memo.txt")},
        {"a type not listed by default", "", lineWithFile("n", "tune.mid"), F,
         withFile(AlarmActionKind::shellOpen, "tune.mid")},
        {"a type added to the list", soundIni + "enabletype=wav,mp3,mid\r\n", lineWithFile("n", "tune.mid"), F,
         sound("tune.mid", "アラーム", "n", F, MCI)},
        {"a blank in the list", soundIni + "enabletype=wav, mp3\r\n", lineWithFile("n", "a.mp3"), F,
         withFile(AlarmActionKind::shellOpen, "a.mp3")},
        {"an empty list", soundIni + "enabletype=\r\n", lineWithFile("n", "a.wav"), F,
         withFile(AlarmActionKind::shellOpen, "a.wav")},
    };
    IconvCodec codec;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::MemoryFileSystem fs;
        if (!c.ini.empty()) fs.put(kIni, *codec.encode(c.ini));
        const SettingsFile settings(fs, codec, kIni);
        EXPECT_EQ(decideAlarmAction(c.line, c.mode, settings, isCommand), c.expected);
    }
}

TEST(AlarmAction, SoundExtensionIsTheLastThreeCharactersHalfWidthLowerCase) {
    const std::pair<std::string, std::string> cases[] = {
        {"x.aiff", "iff"},    {"x.au", ".au"},     {"ab", "ab"},       {"", ""},          {"音.ＭＰ３", "mp3"},
        {"ベル音", "ベル音"},  {"x.Ｗａｖ", "wav"},  {"ｚＺ９", "zz9"},    {"x．ａｕ", "．au"}, {"C:\\a\\b.Mp3", "mp3"},
    };
    for (const auto& [file, extension] : cases) EXPECT_EQ(soundExtension(file), extension) << file;
}

TEST(AlarmAction, ListContainsExactElementsOnly) {
    struct Case {
        std::string list, item;
        bool expected;
    };
    const Case cases[] = {
        {"wav,mp3", "wav", true},  {"wav,mp3", "mp3", true},  {"wav,mp3", "MP3", false},
        {"wav, mp3", "mp3", false}, {"wav,mp3", "wa", false},  {"wav,mp3", "wav,mp3", false},
        {"", "", false},           {"wav,", "", true},
    };
    for (const Case& c : cases) EXPECT_EQ(fieldListContains(c.list, c.item), c.expected) << c.list << " / " << c.item;
}

}  // namespace
}  // namespace kolvi
