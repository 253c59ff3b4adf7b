// Will an alarm be heard: the check behind the next-alarm line, the alarm volume, the fade-in, and
// the start-with-Windows entry.
#include "notify/alarm_audio.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "mainwindow/sound_check.h"
#include "mainwindow/startup_entry.h"
#include "support/alarm_lines.h"
#include "support/audio_fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using namespace test;

std::string soundAlarm(const std::string& time, const std::string& file) {
    std::string line = alarmLine("会議", time);
    return line.insert(line.size() - 2, file);
}

TEST(SoundCheck, StatesAndTheLinesThatTellThem) {
    using S = std::optional<OutputState>;
    const std::tuple<bool, S, const char*> cases[] = {
        {true, OutputState{}, ""},
        {true, std::nullopt, ""},  // the system could not be asked: nothing is known
        {true, OutputState{true, true, 0.8f}, " — 音が出ません (ミュート)"},
        {true, OutputState{true, false, 0.004f}, " — 音が出ません (音量 0)"},
        {true, OutputState{true, false, 0.006f}, ""},  // shown as 1
        {true, OutputState{false, false, 0.0f}, " — 音が出ません (出力装置なし)"},
        {false, OutputState{}, " — 音が出ません (ファイルがありません)"},
    };
    for (const auto& [exists, output, text] : cases) EXPECT_EQ(soundProblemText(soundProblem(exists, output)), text);

    ProgramFiles files;
    files.fs.put("C:\\prog\\a.wav", "RIFF");
    files.fs.put("C:\\prog\\box.exe", "MZ");
    FakeAudioOutput audio;
    audio.state = OutputState{true, true, 0.5f};
    SoundCheck check(&audio, files.fs, files.settings);
    NextAlarmLine line(true);
    const auto follow = [&](const AlarmList& list, const char* time, std::uint64_t ms) {
        return check.follow(line, list, at(kMonday, time), ms);
    };
    const AlarmList wav = openList({soundAlarm("10:05:30", "C:\\prog\\a.wav")});
    EXPECT_EQ(follow(wav, "10:00:00", 0), "次: 会議 10:05:30 (あと 5分) — 音が出ません (ミュート)");
    audio.state->muted = false;
    EXPECT_EQ(follow(wav, "10:00:05", 5000), std::nullopt);  // asked again only after 10 seconds
    EXPECT_EQ(follow(wav, "10:00:10", 10000), "次: 会議 10:05:30 (あと 5分)");
    audio.state.reset();
    EXPECT_EQ(follow(wav, "10:01:00", 60000), "次: 会議 10:05:30 (あと 4分)");  // the line changed: asked at once
    EXPECT_EQ(audio.queries, 3);
    audio.state = OutputState{false, false, 0.0f};
    const AlarmList moved = openList({soundAlarm("10:05:00", "C:\\prog\\a.wav"), soundAlarm("10:04:30", "C:\\prog\\gone.wav")});
    EXPECT_EQ(follow(moved, "10:01:01", 61000), "次: 会議 10:04:30 (あと 3分) — 音が出ません (ファイルがありません)");
    // An alarm that plays no sound, or a check switched off, says nothing and asks nothing.
    EXPECT_EQ(follow(openList({soundAlarm("10:04:00", "C:\\prog\\box.exe")}), "10:01:02", 62000), "次: 会議 10:04:00 (あと 2分)");
    files.fs.put(files.settings.path(), "[alarm]\r\nsoundcheck=0\r\n");
    EXPECT_EQ(follow(wav, "10:01:03", 63000), "次: 会議 10:05:30 (あと 4分)");
    EXPECT_EQ(audio.queries, 3);
}

TEST(AlarmVolume, RaisedWhileSoundingAndGivenBackExactlyUnlessTheUserChangedIt) {
    FakeAudioOutput audio;
    AlarmVolume volume;
    // Muted at 0.3137: raised to 60% and unmuted, then back to the very same level, muted.
    audio.state = OutputState{true, true, 0.3137f};
    volume.soundStarted(audio, 60);
    EXPECT_EQ(audio.state, (OutputState{true, false, 0.6f}));
    volume.soundStarted(audio, 60);  // a second window: already loud enough
    volume.soundsStopped(audio);
    EXPECT_EQ(audio.state, (OutputState{true, true, 0.3137f}));
    EXPECT_EQ(audio.calls.size(), 2u);
    // Loud enough and not muted, or no alarm volume set: nothing is touched.
    audio.state = OutputState{true, false, 0.7f};
    volume.soundStarted(audio, 60);
    audio.state = OutputState{true, true, 0.1f};
    volume.soundStarted(audio, 0);
    volume.soundsStopped(audio);
    EXPECT_EQ(audio.calls.size(), 2u);
    // The user turned it down while it sounded: that choice stays.
    volume.soundStarted(audio, 60);
    audio.state->level = 0.45f;
    volume.soundsStopped(audio);
    EXPECT_EQ(audio.state, (OutputState{true, false, 0.45f}));
    // A refused raise leaves nothing to give back.
    audio.state = OutputState{true, true, 0.1f};
    audio.refuse = true;
    volume.soundStarted(audio, 60);
    EXPECT_FALSE(volume.holding());
}

TEST(FadeIn, RisesFromATenthToFullOnceForOverlappingSounds) {
    const std::tuple<std::uint64_t, int, float> steps[] = {
        {0, 10, 0.1f}, {5000, 10, 0.55f}, {10000, 10, 1.0f}, {99999, 10, 1.0f}, {0, 0, 1.0f}, {30000, 60, 0.55f}};
    for (const auto& [ms, seconds, level] : steps) EXPECT_FLOAT_EQ(fadeLevel(ms, seconds), level) << ms;

    ProgramFiles files;
    files.fs.put(files.settings.path(), "[alarm]\r\nfadein=2\r\nsoundcheck=0\r\n");
    FakeAudioOutput audio;
    AlarmAudio sounds(&audio, files.fs, files.settings);
    sounds.soundStarting("a.wav", 1000);
    sounds.fadeStep(2000);
    sounds.soundStarting("b.wav", 2500);  // a second window: the first one's ramp goes on
    sounds.fadeStep(3000);
    EXPECT_FALSE(sounds.fading());
    sounds.fadeStep(3100);
    sounds.soundStopped();
    sounds.soundStopped();
    sounds.soundStarting("c.wav", 9000);  // alone again: a new ramp
    sounds.soundStopped();                // cut short: full volume for the next sound
    const std::vector<std::string> expected{"session:0.100000", "session:0.550000", "session:1.000000",
                                            "session:0.100000", "session:1.000000"};
    EXPECT_EQ(audio.calls, expected);
    EXPECT_EQ(audio.queries, 0);  // no check, no alarm volume: the output is never asked
}

TEST(StartWithWindows, EntryTextAndTheSameProgramFile) {
    EXPECT_EQ(startupCommandLine("C:\\Prog\\kolvialarm.exe"), "\"C:\\Prog\\kolvialarm.exe\" min");
    const std::tuple<const char*, const char*> programs[] = {
        {"\"C:\\Program Files\\k.exe\" min", "C:\\Program Files\\k.exe"}, {"  C:\\k.exe min", "C:\\k.exe"}, {"", ""}};
    for (const auto& [line, program] : programs) EXPECT_EQ(commandLineProgram(line), program);
    const std::tuple<const char*, const char*, bool> paths[] = {
        {"\\\\?\\C:\\Prog\\KolviAlarm.EXE", "c:\\prog\\kolvialarm.exe", true},
        {"\\\\?\\UNC\\srv\\s\\k.exe", "\\\\SRV\\s\\k.exe", true},
        {"C:\\Prog\\kolvialarm.exe", "C:\\Prog2\\kolvialarm.exe", false},
        {"", "", false}};
    for (const auto& [a, b, same] : paths) EXPECT_EQ(sameFinalPath(a, b), same) << a;

    FakeStartupRegistry registry;
    StartWithWindows startup(&registry);
    registry.entry = "\"D:\\old\\kolvialarm.exe\" min";  // another copy: unticked; ticking replaces it
    EXPECT_FALSE(startup.refresh());
    EXPECT_EQ(startup.toggle(), "");
    EXPECT_EQ(registry.entry, "\"C:\\Prog\\kolvialarm.exe\" min");
    EXPECT_TRUE(startup.ticked());
    registry.entry = "C:\\Link\\k.exe";  // a link to this very file
    registry.link = "C:\\Link\\k.exe";
    registry.target = "C:\\PROG\\KOLVIALARM.EXE";
    EXPECT_TRUE(startup.refresh());
    registry.error = "アクセスが拒否されました。";
    EXPECT_EQ(startup.toggle(), "アクセスが拒否されました。");
    EXPECT_TRUE(startup.ticked());
    registry.error.clear();
    EXPECT_EQ(startup.toggle(), "");
    EXPECT_EQ(registry.entry, std::nullopt);
    EXPECT_FALSE(startup.ticked());
}

}  // namespace
}  // namespace kolvi
