// Will an alarm be heard: the check behind the next-alarm line, the alarm volume, the fade-in, and
// the start-with-Windows entry.
#include "notify/alarm_audio.h"

#include <gtest/gtest.h>

#include <tuple>

#include "mainwindow/sound_check.h"
#include "mainwindow/startup_entry.h"
#include "support/alarm_lines.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using namespace test;

TEST(SoundCheck, StatesAndTheLinesThatTellThem) {
    const std::tuple<bool, std::optional<OutputState>, const char*> cases[] = {
        {true, OutputState{}, ""}, {true, std::nullopt, ""},  // not asked: nothing known
        {true, OutputState{true, true, 0.8f}, " — 音が出ません (ミュート)"},
        {true, OutputState{true, false, 0.004f}, " — 音が出ません (音量 0)"},
        {true, OutputState{true, false, 0.006f}, ""},  // shown as 1
        {true, OutputState{false, false, 0.0f}, " — 音が出ません (出力装置なし)"},
        {false, OutputState{}, " — 音が出ません (ファイルがありません)"}};
    for (const auto& [exists, output, text] : cases) EXPECT_EQ(soundProblemText(soundProblem(exists, output)), text);

    ProgramFiles files;
    files.fs.put("C:\\prog\\a.wav", "RIFF");
    FakeAudioOutput audio;
    audio.state = OutputState{true, true, 0.5f};
    SoundCheck check(&audio, files.fs, files.settings);
    NextAlarmLine line(true);
    const auto follow = [&](const char* file, const char* due, const char* now, std::uint64_t ms) {
        std::string alarm = alarmLine("会議", due);
        return check.follow(line, openList({alarm.insert(alarm.size() - 2, file)}), at(kMonday, now), ms);
    };
    EXPECT_EQ(follow("C:\\prog\\a.wav", "10:05:30", "10:00:00", 0), "次: 会議 10:05:30 (あと 5分) — 音が出ません (ミュート)");
    audio.state->muted = false;
    EXPECT_EQ(follow("C:\\prog\\a.wav", "10:05:30", "10:00:05", 5000), std::nullopt);  // asked after 10 s only
    EXPECT_EQ(follow("C:\\prog\\a.wav", "10:05:30", "10:00:10", 10000), "次: 会議 10:05:30 (あと 5分)");
    audio.state.reset();  // the line changed: asked at once, and a failed query says nothing
    EXPECT_EQ(follow("C:\\prog\\a.wav", "10:05:30", "10:01:00", 60000), "次: 会議 10:05:30 (あと 4分)");
    EXPECT_EQ(follow("C:\\prog\\gone.wav", "10:04:30", "10:01:01", 61000),
              "次: 会議 10:04:30 (あと 3分) — 音が出ません (ファイルがありません)");
    files.fs.put("C:\\prog\\h.wav", "RIFF");
    files.fs.markHidden("C:\\prog\\h.wav");  // hidden, but it plays
    EXPECT_EQ(follow("C:\\prog\\h.wav", "10:04:15", "10:01:02", 62000), "次: 会議 10:04:15 (あと 3分)");
    EXPECT_EQ(follow("C:\\prog\\x.exe", "10:04:00", "10:01:03", 63000), "次: 会議 10:04:00 (あと 2分)");
    files.fs.put(files.settings.path(), "[alarm]\r\nsoundcheck=0\r\n");
    EXPECT_EQ(follow("C:\\prog\\gone.wav", "10:05:30", "10:01:04", 64000), "次: 会議 10:05:30 (あと 4分)");
    EXPECT_EQ(audio.queries, 4);
}

// Muted at 0.3137: raised to 60% for the sounds and given back exactly; loud enough, or no alarm
// volume, is left alone; a change the user makes while it sounds stays.
TEST(AlarmVolume, RaisedWhileSoundingAndGivenBackExactlyUnlessTheUserChangedIt) {
    FakeAudioOutput audio;
    AlarmVolume volume;
    audio.state = OutputState{true, true, 0.3137f};
    for (int window = 0; window < 2; ++window) volume.soundStarted(audio, 60);
    EXPECT_EQ(audio.state, (OutputState{true, false, 0.6f}));
    volume.soundsStopped(audio);
    EXPECT_EQ(audio.state, (OutputState{true, true, 0.3137f}));
    volume.soundStarted(audio, 0);
    audio.state = OutputState{true, false, 0.7f};
    volume.soundStarted(audio, 60);
    EXPECT_EQ(audio.calls.size(), 2u);
    audio.state = OutputState{true, false, 0.2f};
    volume.soundStarted(audio, 60);
    audio.state->level = 0.45f;
    volume.soundsStopped(audio);
    EXPECT_EQ(audio.state, (OutputState{true, false, 0.45f}));
}

TEST(FadeIn, RisesFromATenthToFullOnceForOverlappingSounds) {
    const std::tuple<std::uint64_t, int, float> steps[] = {{0, 10, 0.1f},     {5000, 10, 0.55f}, {10000, 10, 1.0f},
                                                           {99999, 10, 1.0f}, {0, 0, 1.0f},      {30000, 60, 0.55f}};
    for (const auto& [ms, seconds, level] : steps) EXPECT_FLOAT_EQ(fadeLevel(ms, seconds), level) << ms;
    ProgramFiles files;
    files.fs.put(files.settings.path(), "[alarm]\r\nfadein=2\r\nsoundcheck=0\r\n");
    FakeAudioOutput audio;
    AlarmAudio sounds(&audio, files.fs, files.settings);
    sounds.soundStarting("a.wav", 1000);
    sounds.fadeStep(2000);
    sounds.soundStarting("b.wav", 2500);  // the first one's ramp goes on
    for (const std::uint64_t ms : {3000, 3100}) sounds.fadeStep(ms);
    sounds.soundStopped();
    sounds.soundStopped();
    sounds.soundStarting("c.wav", 9000);  // alone again: a new ramp, cut short
    sounds.soundStopped();
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"session:0.100000", "session:0.550000", "session:1.000000",
                                                     "session:0.100000", "session:1.000000"}));
    EXPECT_EQ(audio.queries, 0);  // no check, no alarm volume: the output is never asked
    files.fs.put(files.settings.path(), "");  // the check is on: a window opening muted says so
    files.fs.put("C:\\prog\\a.wav", "RIFF");
    audio.state->muted = true;
    EXPECT_EQ(sounds.soundStarting("C:\\prog\\a.wav", 0), " — 音が出ません (ミュート)");
}

TEST(StartWithWindows, EntryTextAndTheSameProgramFile) {
    EXPECT_EQ(startupCommandLine("C:\\Prog\\kolvialarm.exe"), "\"C:\\Prog\\kolvialarm.exe\" min");
    EXPECT_EQ(commandLineProgram("\"C:\\Program Files\\k.exe\" min"), "C:\\Program Files\\k.exe");
    EXPECT_EQ(commandLineProgram("  C:\\k.exe min"), "C:\\k.exe");
    const std::tuple<const char*, const char*, bool> paths[] = {
        {"\\\\?\\C:\\Prog\\KolviAlarm.EXE", "c:\\prog\\kolvialarm.exe", true},
        {"\\\\?\\UNC\\srv\\s\\k.exe", "\\\\SRV\\s\\k.exe", true},
        {"C:\\Prog\\kolvialarm.exe", "C:\\Prog2\\kolvialarm.exe", false}, {"", "", false}};
    for (const auto& [a, b, same] : paths) EXPECT_EQ(sameFinalPath(a, b), same) << a;

    FakeStartupRegistry registry;
    StartWithWindows startup(&registry);
    registry.entry = "\"D:\\old\\kolvialarm.exe\" min";  // another copy: unticked; ticking replaces it
    EXPECT_FALSE(startup.refresh());
    EXPECT_EQ(startup.toggle(), "");
    EXPECT_EQ(registry.entry, "\"C:\\Prog\\kolvialarm.exe\" min");
    registry.entry = registry.link = "C:\\Link\\k.exe";  // a link to this very file
    registry.target = "C:\\PROG\\KOLVIALARM.EXE";
    EXPECT_TRUE(startup.refresh());
    registry.error = "アクセスが拒否されました。";
    EXPECT_EQ(startup.toggle(), "アクセスが拒否されました。");
    registry.error.clear();
    EXPECT_EQ(startup.toggle(), "");
    EXPECT_EQ(registry.entry, std::nullopt);
}

}  // namespace
}  // namespace kolvi
