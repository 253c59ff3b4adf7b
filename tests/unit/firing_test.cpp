// What happens as alarms come due: the check, the countdown tip, the alarm
// action's choice, the notification window with its extensions, the control
// commands with the power-action countdown and the key notation.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "command/control_command.h"
#include "command/power_countdown.h"
#include "command/send_keys.h"
#include "notify/alarm_action.h"
#include "notify/extension.h"
#include "notify/sound_form_model.h"
#include "schedule/alarm_check.h"
#include "schedule/countdown_text.h"
#include "support/alarm_lines.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"
#include "texts/common_texts.h"

namespace kolvi {
namespace {

using namespace test;

// A row that fires is highlighted, dimmed and current, so the list must be repainted.
TEST(AlarmCheck, FiresARowWhoseTimeAndWeekdayMatch) {
    const std::string weekdays = alarmLine("朝会", "07:30:00", "0111110"), noFile(kStatusNoFile);
    const std::tuple<const char*, std::string, LocalTime, bool, std::string> cases[] = {
        // what, line, now, fires, status
        {"today is one of its days", weekdays, at(kMonday, "07:30:00"), true, "07:30:00 (朝会)"},
        {"today is not", weekdays, at(kSaturday, "07:30:00"), false, "07:30:00"},
        // A row whose second passes without any tick never fires later.
        {"a second later", weekdays, at(kMonday, "07:30:01"), false, "07:30:01"},
        {"switched off", "0" + alarmLine("x", "07:30:00").substr(1), at(kMonday, "07:30:00"), false, "07:30:00"},
        {"Sunday at midnight", alarmLine("日", "00:00:00", "1000000"), at(kSunday, "00:00:00"), true, "00:00:00 (日)"},
        {"a weekday the clock cannot give", alarmLine("x", "07:30:00"), at(7, "07:30:00"), false, "07:30:00"},
        {"no name: the time alone", alarmLine("", "23:59:59"), at(kTuesday, "23:59:59"), true, "23:59:59"},
        {"no file open: the hint", alarmLine("a", "07:30:00"), at(kMonday, "07:30:00"), false, noFile},
    };
    for (const auto& [what, line, now, fires, status] : cases) {
        AlarmList list = openList({alarmLine("other", "12:00:00"), line});
        if (status == noFile) list.setTag("");
        RecordingCheckHost host;
        const TickResult result = host.tick(list, now);
        const AlarmRow& row = list.row(1);
        EXPECT_EQ(std::tuple(result.status, result.listChanged, host.fired.size(), row.ghosted, row.selected,
                             list.currentPosition().value_or(9)),
                  std::tuple(status, fires, fires ? 1u : 0u, fires, fires, fires ? 1u : 9u)) << what;
    }
}

// The window repaints only when a tick says the list changed: a wrong false
// leaves a stale screen, a wrong true makes it flicker. An unchecked row is
// passed over, latch and all.
TEST(AlarmCheck, LatchAllowsOneFiringPerSecondAndTheListChangesOnlyWhenItMoves) {
    AlarmList list = openList({alarmLine("朝会", "07:30:00", "0111110")});
    RecordingCheckHost host;
    const auto changed = [&](int day, const char* time) { return host.tick(list, at(day, time)).listChanged; };
    EXPECT_FALSE(changed(kMonday, "07:29:59"));  // a quiet tick
    EXPECT_TRUE(changed(kMonday, "07:30:00"));
    EXPECT_EQ(host.tick(list, at(kMonday, "07:30:00")).status, "07:30:00");  // latched: no name, no change
    EXPECT_TRUE(changed(kMonday, "07:30:01"));  // the fired mark goes
    EXPECT_FALSE(list.row(0).ghosted);
    EXPECT_FALSE(changed(kMonday, "07:30:02"));
    changed(kTuesday, "07:30:00");  // the next day fires again
    list.changeCheck(0, false);
    EXPECT_FALSE(changed(kTuesday, "07:30:01"));
    EXPECT_TRUE(list.row(0).ghosted);
    list.changeCheck(0, true);
    EXPECT_TRUE(changed(kTuesday, "07:30:02"));
    EXPECT_EQ(host.fired.size(), 2u);
}

// Four ticks a second, as with the default interval: A to D fire in the
// ticks of 10:00:00, one per tick, and E waits. At 10:00:01 the row due then
// goes first, being above E; then E, unless it stopped waiting meanwhile (the
// check stopping drops it too, as the window tests show).
TEST(AlarmCheck, RowsDueTogetherFireOnePerTickAndAWaitingRowCanStopWaiting) {
    std::vector<std::string> lines{alarmLine("next", "10:00:01")};
    for (const char* name : {"A", "B", "C", "D", "E"}) lines.push_back(alarmLine(name, "10:00:00"));
    const std::tuple<const char*, std::function<void(AlarmList&)>, Texts> cases[] = {
        {"nothing happens", [](AlarmList&) {}, {"next", "E"}},
        {"it is deleted", [](AlarmList& l) { l.makeCurrent(5); l.deleteCurrentRow(); }, {"next"}},
        {"a row above it is deleted", [](AlarmList& l) { l.makeCurrent(2); l.deleteCurrentRow(); }, {"next", "E"}},
        {"it is unchecked", [](AlarmList& l) { l.changeCheck(5, false); }, {"next"}},
    };
    for (const auto& [what, meanwhile, firedAfterwards] : cases) {
        AlarmList list = openList(lines);
        RecordingCheckHost host;
        for (int i = 0; i < 4; ++i) host.tick(list, at(kMonday, "10:00:00"));
        EXPECT_EQ(std::exchange(host.fired, {}), (Texts{"A", "B", "C", "D"})) << what;
        meanwhile(list);
        host.tick(list, at(kMonday, "10:00:01"));
        list.changeCheck(list.rowCount() - 1, true);  // switched on again, a row does not resume waiting
        host.tick(list, at(kMonday, "10:00:01"));
        host.tick(list, at(kMonday, "10:00:02"));
        EXPECT_EQ(host.fired, firedAfterwards) << what;
    }
}

// A message box's modal loop delivers ticks to the same check while the
// alarm's action is still running.
TEST(AlarmCheck, NestedTicksFireOtherRowsAndTheFiredRowIsDeletedByIdentity) {
    AlarmList list = openList({alarmLine("C", "10:00:01", "1111111", true), alarmLine("A", "10:00:00", "1111111", true),
                               alarmLine("D", "10:00:00")});
    RecordingCheckHost host;
    Texts nested;
    host.hook = [&](const std::string& name) {
        if (name != "A") return;
        for (const char* time : {"10:00:00", "10:00:00", "10:00:01"}) {  // fires D; A and D latched; fires C
            nested.push_back(host.tick(list, at(kMonday, time)).status);
        }
    };
    EXPECT_EQ(host.tick(list, at(kMonday, "10:00:00")).status, "10:00:00 (A)");
    EXPECT_EQ(nested, (Texts{"10:00:00 (D)", "10:00:00", "10:00:01 (C)"}));
    // C's deletion moved A up to where C was; D, now at A's old place, stays.
    EXPECT_EQ(column(list), Texts{"D"});
    EXPECT_EQ(host.saves, 2);
    host.tick(list, at(kMonday, "10:00:01"));
    host.tick(list, at(kMonday, "10:00:00"));  // the clock set back: D again
    EXPECT_EQ(host.fired, (Texts{"A", "D", "C", "D"}));
}

// A deletes itself after running; its action may have changed the list. The
// list changed in every case: A fired, and perhaps went.
TEST(AlarmCheck, FiredRowIsDeletedByIdentityAfterItsAction) {
    const std::vector<std::string> lines{alarmLine("A", "10:00:00", "1111111", true), alarmLine("B", "11:00:00")};
    const std::string fired = "10:00:00 (A)";
    const std::tuple<const char*, std::function<void(AlarmList&)>, Texts, int, std::string> cases[] = {
        // what, action, rows afterwards, saves, status
        {"nothing", [](AlarmList&) {}, {"B"}, 1, fired},
        {"a row added above", [](AlarmList& l) { l.addAlarmLine(alarmLine("n", "09:00:00")); }, {"n", "B"}, 1, fired},
        {"it was deleted meanwhile", [](AlarmList& l) { l.makeCurrent(0); l.deleteCurrentRow(); }, {"B"}, 0, fired},
        {"the file was closed", [](AlarmList& l) { l.setTag(""); }, {"A", "B"}, 0, std::string(kStatusNoFile)},
        {"the file was opened again", [&](AlarmList& l) { l.clearRows(); for (auto& x : lines) l.addAlarmLine(x); },
         {"A", "B"}, 0, fired},  // the same rows under new identities
    };
    for (const auto& [what, action, rows, saves, status] : cases) {
        AlarmList list = openList(lines);
        list.applySort(Column::time, SortOrder::ascending);
        RecordingCheckHost host;
        host.hook = [&list, &run = action](const std::string&) { run(list); };
        const TickResult result = host.tick(list, at(kMonday, "10:00:00"));
        EXPECT_EQ(std::tuple(result.status, result.listChanged, column(list), host.saves),
                  std::tuple(status, true, rows, saves)) << what;
    }
}

// The tip over a row says how its alarm stands today (a Wednesday); switched
// off and not today say so before an impossible time. (The window tests show
// an alarm later today, one switched off, and no tip while tips are off.)
TEST(CountdownText, TellsHowTheAlarmUnderThePointerStandsToday) {
    const std::string off = "[会議] このアラームは停止しています。";
    const std::string notToday = "[会議] このアラームは今日は作動しません。";
    const std::string impossible = "[会議] このアラームの設定時刻が正しくありません。";
    const auto line = [](const char* time, const char* days = "1111111") { return alarmLine("会議", time, days); };
    const std::tuple<std::string, const char*, std::string> cases[] = {
        // line, now, tip
        {line("10:05:00", "1000001"), "10:00:00", notToday},
        {line("10:05:00", "0001000"), "10:05:00", "[会議] このアラームは0秒後に作動します。"},
        {line("23:59:59"), "00:00:00", "[会議] このアラームは86399秒後に作動します。"},
        {line("00:00:00"), "00:00:01", "[会議] このアラームの設定時刻は本日はもう過ぎています。"},
        {line("24:00:00"), "00:00:00", impossible}, {line("10:60:00"), "00:00:00", impossible},
        {"0" + line("99:99:99").substr(1), "00:00:00", off}, {line("99:99:99", "0100000"), "00:00:00", notToday},
    };
    for (const auto& [alarm, now, tip] : cases) {
        const AlarmList list = openList({alarm});
        EXPECT_EQ(rowCountdownText(true, &list.row(0), at(kWednesday, now)), tip) << alarm << " at " << now;
    }
    EXPECT_EQ(rowCountdownText(true, nullptr, at(kWednesday, "10:00:00")), "");
}

AlarmAction act(AlarmActionKind kind, std::string file, std::string text = "", AlarmMode mode = AlarmMode::fire,
                SoundApi api = SoundApi::mci) {
    return {kind, false, "", std::move(file), std::move(text), mode, api, std::nullopt};
}

// The file field decides. A sound type is the file's last three characters
// (full-width letters and digits made half-width, then lower case), and
// counts only as a whole field of sound/enabletype (case and blanks count).
TEST(AlarmAction, ChoosesByTheFileFieldModeAndSoundSettings) {
    using K = AlarmActionKind;
    constexpr AlarmMode F = AlarmMode::fire, P = AlarmMode::preview;
    const std::string bell = "C:\\sound\\bell.WAV";
    const auto line = [](std::string n, std::string f) { return "1," + n + ",1,1,1,1,1,1,1,07,00,00," + f + ",0"; };
    const ControlCommand lock{ControlCommand::Kind::lock, "", PowerAction::powerOff};
    const std::tuple<std::string, std::string, AlarmMode, AlarmAction> cases[] = {
        // the sound section ("" for no settings file), line, mode, action
        {"", line("会議", ""), P, {K::message, true, "会議", "", "", F, SoundApi::mci, std::nullopt}},
        {"", line("", ""), F, {}},  // no name: the owner only comes to the front
        {"", line("x", "Lock"), P, {K::controlCommand, false, "", "Lock", "", F, SoundApi::mci, lock}},
        {"", line("朝会", bell), F, act(K::soundWindow, bell, "朝会")},
        {"usemci=0", line("朝会", bell), F, act(K::soundWindow, bell, "朝会", F, SoundApi::systemPlayer)},
        {"", line("朝会", bell), P, act(K::soundWindow, bell, "bell.WAV の再生プレビューです。", P)},
        {"", line("n", "ベル．ＷＡＶ"), F, act(K::soundWindow, "ベル．ＷＡＶ", "n")},
        {"", line("n", "tune.mid"), F, act(K::shellOpen, "tune.mid")},
        {"enabletype=wav,mid", line("n", "tune.mid"), F, act(K::soundWindow, "tune.mid", "n")},
        {"enabletype=", line("n", "a.wav"), F, act(K::shellOpen, "a.wav")},
        {"enabletype=wav, mp3", line("n", "a.mp3"), F, act(K::shellOpen, "a.mp3")},
        {"enabletype=MP3,wavx", line("n", "a.mp3"), F, act(K::shellOpen, "a.mp3")},
        {"enabletype=MP3,wavx", line("n", "a.wav"), F, act(K::shellOpen, "a.wav")},
    };
    for (const auto& [ini, alarm, mode, expected] : cases) {
        ProgramFiles files;
        if (!ini.empty()) files.fs.put(files.settings.path(), *files.codec.encode("[sound]\r\n" + ini));
        EXPECT_EQ(decideAlarmAction(alarm, mode, files.settings), expected) << alarm << " with " << ini;
    }
    const std::pair<const char*, const char*> types[] = {{"x.aiff", "iff"}, {"x.au", ".au"}, {"ベル音", "ベル音"},
                                                         {"音.ＭＰ３", "mp3"}};
    for (const auto& [file, type] : types) EXPECT_EQ(soundExtension(file), type) << file;
}

constexpr AlarmMode kFire = AlarmMode::fire, kPreview = AlarmMode::preview;
constexpr const char* kFired = "1,会議,0,1,1,1,1,1,0,10,00,00,C:\\s.wav,0";

// A Wednesday unless said otherwise.
LocalTime hms(int hour, int minute, int second, int weekday = 3) { return {weekday, hour, minute, second}; }

class SoundFormModelTest : public ::testing::Test, protected ProgramFiles {
protected:
    RecordingSoundDevice sound;
    TestClock clock;
};

// What a span reads as, and where it lands in the week, is also checked over
// the extension span fuzzer's corpus; here the refusals and the extremes. A
// value that does not parse gives the digit's default of N minutes.
TEST_F(SoundFormModelTest, EachDigitKeyReadsItsSpanFromTheSettings) {
    const char* refused[] = {"", "1:2:3:4", "1::3", "32768:0:0", "0:-32769:0", "1.5:0:0", "1 2:0:0", "１:0:0"};
    for (const char* text : refused) EXPECT_EQ(parseExtensionSpan(text), std::nullopt) << text;  // the last full-width
    fs.put(settings.path(), "[alarm]\r\nkey1=01:30:00\r\nkey2=00:00:00\r\nkey3=abc\r\nkey6=\r\n"
                            "key7= 0:0:-30 \r\nKEY8=2:0:0");
    const ExtensionSpan expected[] = {
        {1, 30, 0}, {0, 0, 0}, {0, 3, 0}, {0, 4, 0}, {0, 5, 0}, {0, 6, 0}, {0, 0, -30}, {2, 0, 0}, {0, 9, 0},
    };
    for (int key = 1; key <= 9; ++key) EXPECT_EQ(readExtensionSpan(settings, key), expected[key - 1]) << key;
}

// Only a positive sum extends: 1:-30:0 is a later time, yet adds up to less
// than 1. The due time wraps past midnight and the week, either way, and the
// extension's line keeps the switch and the file, whatever the old time and
// days, and drops what follows the fourteenth field as the list does.
TEST(Extension, DueTimeAndLine) {
    const std::pair<ExtensionSpan, bool> spans[] = {{{0, 0, 0}, false},  {{0, 0, 1}, true}, {{1, -30, 0}, false},
        {{0, -1, 2}, true}, {{32767, 32767, 32767}, true}, {{-32768, -32768, -32768}, false}};
    for (const auto& [span, extends] : spans) EXPECT_EQ(extendsAlarm(span), extends) << span.hours << ":" << span.minutes;
    const std::tuple<LocalTime, ExtensionSpan, LocalTime> cases[] = {
        // Back past midnight and past the week's start (the extension span fuzzer's corpus wraps forward, the
        // largest span included), and the largest span back: over 1388 days, without overflow.
        {hms(0, 0, 10), {0, 0, -20}, hms(23, 59, 50, 2)}, {hms(1, 0, 0, 0), {-3, 0, 0}, hms(22, 0, 0, 6)},
        {hms(0, 0, 0), {-32768, -32768, -32768}, hms(12, 45, 52, 0)},
    };
    for (const auto& [now, span, due] : cases) EXPECT_EQ(extendedTime(now, span), due) << span.hours;
    EXPECT_EQ(buildExtensionLine("0,x,0,0,0,0,0,0,0,99,99,99,C:\\音\\a b.wav,0,extra", hms(4, 5, 6)),
              "0,xの延長,1,1,1,1,1,1,1,04,05,06,C:\\音\\a b.wav,1");
    EXPECT_EQ(buildExtensionLine("1,a,0,0,0,0,0,0,0,01,02,03,b.wav", hms(4, 5, 6)), std::nullopt);  // nothing to extend
}

// A digit 1-9 closes an alarm's window, not a preview's; a full-width digit
// is the same key typed with the Japanese input on. However the window goes,
// its sound stops (the alias is its own, a path's blanks stay inside the
// quotes); an extension counts from that moment (10:00:17). Key 0: closed by
// the button, a close box or the program ending. Only the first unload acts,
// and then no key is taken.
TEST_F(SoundFormModelTest, DigitsCloseTheWindowAndItsUnloadDecidesTheExtension) {
    fs.put(settings.path(), "[alarm]\r\nkey2=00:00:00\r\nkey7=01:02:03\r\n");
    enum Target { fileOpen, fileClosed, noList };
    const auto extension = [](const char* time) {
        return UnloadOutcome{UnloadAction::addExtension,
                             "1,会議の延長,1,1,1,1,1,1,1," + std::string(time) + ",C:\\s.wav,1"};
    };
    const UnloadOutcome nothing, tellNoFile{UnloadAction::tellNoFileOpen, {}};
    const std::tuple<AlarmMode, char32_t, Target, bool, UnloadOutcome> cases[] = {
        // mode, key, target list, the key closes, outcome
        {kFire, U'1', fileOpen, true, extension("10,01,17")},   {kFire, U'9', fileOpen, true, extension("10,09,17")},
        {kFire, U'7', fileOpen, true, extension("11,02,20")},   {kFire, U'５', fileOpen, true, extension("10,05,17")},
        {kFire, U'2', fileOpen, true, nothing},                 {kFire, U'0', fileOpen, false, nothing},
        {kFire, U'a', fileOpen, false, nothing},                {kFire, 0, fileOpen, false, nothing},
        {kPreview, U'5', fileOpen, false, nothing},             {kFire, U'5', fileClosed, true, tellNoFile},
        {kFire, U'5', noList, true, tellNoFile},                {kFire, 0, fileClosed, false, nothing},
    };
    for (const auto& [mode, key, target, closes, outcome] : cases) {
        AlarmList list;
        if (target == fileOpen) list.setTag("list.alm");
        sound.calls.clear();
        SoundFormModel window(mode, SoundApi::mci, 4242, kFired);
        window.startSound(sound, "C:\\a b.wav");
        EXPECT_EQ(key != 0 && window.keyPress(key, settings), closes) << unsigned{key};
        clock.time = hms(10, 0, 17);
        const auto save = [this](const std::string& line) { sound.calls.push_back("save:" + line); };
        EXPECT_EQ(window.unload(sound, clock, target == noList ? nullptr : &list, save), outcome) << unsigned{key};
        EXPECT_EQ(window.unload(sound, clock, &list, save), UnloadOutcome{});
        EXPECT_FALSE(window.keyPress(U'1', settings));
        Texts calls{"mci:open \"C:\\a b.wav\" alias 4242PL", "mci:play 4242PL from 0", "mci:stop 4242PL",
                    "mci:close 4242PL"};
        // The extension is saved before the sound stops, which may take a while.
        if (outcome.action == UnloadAction::addExtension) calls.insert(calls.begin() + 2, "save:" + outcome.line);
        EXPECT_EQ(sound.calls, calls) << unsigned{key};
    }
}

// The typing guard: for its milliseconds after the window appeared (at
// 10'000), the keys that close or extend it are dropped; other keys and a
// guard of 0 pass.
TEST(SoundFormGuard, KeysThatCloseOrExtendAreIgnoredForTheGuardAfterAppearing) {
    const std::tuple<std::uint32_t, char32_t, std::uint64_t, bool> cases[] = {
        // guard, key, when, ignored; the window tests show digits and Enter dropped, then taken
        {500, U'5', 10'499, true}, {500, U'5', 10'500, false}, {500, U' ', 10'100, true}, {500, U'\x1b', 10'100, true},
        {500, U'a', 10'100, false}, {500, U'5', 9'000, true},   {0, U'5', 10'000, false},
        {500, U'\uFF10', 10'100, true}, {500, U'\uFF19', 10'499, true},  // full-width, as typed with the Japanese input on
    };
    for (const auto& [guardMs, key, atMs, ignored] : cases) {
        SoundFormModel window(kFire, SoundApi::mci, 1, "");
        window.setShown(10'000, guardMs);
        EXPECT_EQ(window.ignoresKey(key, atMs), ignored) << guardMs << " ms, " << unsigned{key} << " at " << atMs;
    }
}

using Keys = std::vector<KeyInput>;
using namespace vk;

// An expectation from pieces: typed text, key taps, presses and releases.
Keys operator+(Keys keys, const Keys& more) {
    keys.insert(keys.end(), more.begin(), more.end());
    return keys;
}
Keys text(std::u32string_view s) {
    Keys keys;
    for (char32_t c : s) keys.push_back({KeyInput::Kind::character, static_cast<unsigned>(c), false});
    return keys;
}
Keys down(unsigned code) { return {{KeyInput::Kind::virtualKey, code, false}}; }
Keys up(unsigned code) { return {{KeyInput::Kind::virtualKey, code, true}}; }
Keys tap(unsigned code, int times = 1) { return times == 0 ? Keys{} : down(code) + up(code) + tap(code, times - 1); }

// The whole field counts, in any ASCII case and untrimmed; anything else is a
// file name. Only the words that end the session or the machine wait for a
// countdown. That the sendkeys prefix types what the rest parses to (nothing
// when it does not parse) is checked over the control command fuzzer's corpus.
TEST(ControlCommand, EveryWordAndItsAction) {
    const Texts logOff{"logoff"}, powerOff{"poweroff"}, reboot{"reboot"};
    const std::tuple<const char*, const char*, Texts> words[] = {
        // text, what runs at once, what runs after a countdown
        {"EXIT", "exit", {}},          {"LoCk", "lock", {}},          {"SENDKEYS x", "keys", {}},
        {"logoff98", "logoff", logOff}, {"LOGOFFME", "logoff", logOff}, {"logoff2k", "logoff", logOff},
        {"LogOffXP", "logoff", logOff}, {"shutdown95", "poweroff", powerOff}, {"shutdown98", "poweroff", powerOff},
        {"ShutdownME", "poweroff", powerOff}, {"shutdown2k", "poweroff", powerOff}, {"SHUTDOWNXP", "poweroff", powerOff},
        {"reboot95", "reboot", reboot}, {"reboot98", "reboot", reboot}, {"rebootME", "reboot", reboot},
        {"reboot2k", "reboot", reboot}, {"REBOOTXP", "reboot", reboot},
    };
    for (const auto& [text, action, delayed] : words) {
        const std::optional<ControlCommand> command = parseControlCommand(text);
        ASSERT_TRUE(command) << text;
        RecordingSystemActions actions, later;
        runControlCommand(*command, actions, [&actions] { actions.calls.emplace_back("exit"); });
        EXPECT_EQ(actions.calls, Texts{action}) << text;
        if (auto countdown = guardPowerCommand(*command, "", 1)) countdown->runNow(later);
        EXPECT_EQ(later.calls, delayed) << text;
    }
    for (const char* text : {"", " exit", "exit ", "exits", "lock.wav", "logoff", "logoff95", "shutdown", "reboot",
                             "sendkeys", "sendkeys\tx", " sendkeys x", "send keys x", "ｅｘｉｔ", "C:\\sound\\exit"}) {
        EXPECT_EQ(parseControlCommand(text), std::nullopt) << text;
    }
}

TEST(PowerCountdown, OnlyPowerCommandsWithADelayCountDownAndTheActionRunsOnceUnlessCancelled) {
    const std::tuple<const char*, const char*, int, const char*> commands[] = {
        // command, name, delay, the countdown's text; "" (no power command, or no delay): run at once, as always.
        {"shutdown2k", "朝", 3, "朝: 3秒後にシャットダウンします。"}, {"logoffxp", "", 5, "5秒後にログオフします。"},
        {"REBOOT2K", "朝", 30, "朝: 30秒後に再起動します。"}, {"lock", "朝", 30, ""}, {"shutdown2k", "朝", 0, ""},
    };
    for (const auto& [command, name, delay, text] : commands) {
        const std::optional<PowerCountdown> countdown = guardPowerCommand(*parseControlCommand(command), name, delay);
        EXPECT_EQ(countdown ? countdown->text() : "", text) << command;
    }
    // 't' a second passes, 'r' 今すぐ実行, 'c' キャンセル; then what ran and the texts the ticks showed.
    const std::tuple<const char*, Texts, Texts> scripts[] = {
        {"tttttr", {"poweroff"}, {"会議: 2秒後にシャットダウンします。", "会議: 1秒後にシャットダウンします。"}},
        {"trtrt", {"poweroff"}, {"会議: 2秒後にシャットダウンします。"}},
        {"tcttr", {}, {"会議: 2秒後にシャットダウンします。"}},
    };
    for (const auto& [script, calls, texts] : scripts) {
        RecordingSystemActions actions;
        PowerCountdown countdown("会議", PowerAction::powerOff, 3);
        Texts shown;
        for (const char* step = script; *step != '\0'; ++step) {
            if (*step == 't' && countdown.tick(actions)) shown.push_back(countdown.text());
            if (*step == 'r') countdown.runNow(actions);
            if (*step == 'c') countdown.cancel();
        }
        EXPECT_EQ(std::tuple(countdown.done(), actions.calls, shown), std::tuple(true, calls, texts)) << script;
    }
}

// That plain text types itself, that every press is released innermost
// first, and that a string that is not UTF-8 types nothing are checked over
// the send keys fuzzer's corpus; here the keys each string gives.
TEST(SendKeys, ParsesTheNotation) {
    const std::pair<std::string, Keys> cases[] = {
        // Named keys in any case, by any of their names; ~ for Enter; F1-F16.
        {"Hi~{enter}{BS}{BKSP}{BACKSPACE}", text(U"Hi") + tap(kReturn, 2) + tap(kBack, 3)},
        {"{PGUP}{PGDN}{F1}{f9}{F16}", tap(kPrior) + tap(kNext) + tap(0x70) + tap(0x78) + tap(0x7F)},
        // Braces type the special characters literally.
        {"{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}{あ}{ }", text(U"+^%~(){}[]あ ")},
        // Repeat counts; the first blank in "{  3}" is the character.
        {"{LEFT 3}{a 2}{あ 2}{} 2}{  3}", tap(kLeft, 3) + text(U"aaああ}}   ")},
        {"+{TAB 0}x", text(U"x")},  // nothing typed, so no modifier pressed either
        {"{a 9999}", Keys(9999, text(U"a")[0])},
        // A modifier holds for the next key only; Shift, Ctrl, Alt are pressed
        // in this order and released the other way, whatever order they were written in.
        {"+a^ab", down(kShift) + tap('A') + up(kShift) + down(kControl) + tap('A') + up(kControl) + text(U"b")},
        {"%^+x", down(kShift) + down(kControl) + down(kMenu) + tap('X') + up(kMenu) + up(kControl) + up(kShift)},
        // A capital under a modifier adds Shift, unless Shift is held already.
        {"^A", down(kControl) + down(kShift) + tap('A') + up(kShift) + up(kControl)},
        {"+(A{LEFT 2}~)", down(kShift) + tap('A') + tap(kLeft, 2) + tap(kReturn) + up(kShift)},
        // A character without a layout-independent key types itself with the modifiers held.
        {"^-+あ", down(kControl) + text(U"-") + up(kControl) + down(kShift) + text(U"あ") + up(kShift)},
        // Groups hold their modifiers and nest; a held modifier is not pressed twice.
        {"+(ab)c", down(kShift) + tap('A') + tap('B') + up(kShift) + text(U"c")},
        {"^(a^b^(c))", down(kControl) + tap('A') + tap('B') + tap('C') + up(kControl)},
        {"+(a^(b%(c{LEFT 2}))d)", down(kShift) + tap('A') + down(kControl) + tap('B') + down(kMenu) + tap('C') +
                                  tap(kLeft, 2) + up(kMenu) + up(kControl) + tap('D') + up(kShift)},
    };
    for (const auto& [input, expected] : cases) EXPECT_EQ(parseSendKeys(input), expected) << input;
}

TEST(SendKeys, MalformedStringsTypeNothing) {
    for (const char* input : {"{ENTER", "{}", "}", "(abc", "abc)", "+(a))",        // unpaired
                              "{NOSUCHKEY}", "{F0}", "{F17}", "{ab}",                // unknown names
                              "{LEFT x}", "{LEFT -1}", "{LEFT 3 4}", "{LEFT  3}",    // counts that are no plain number
                              "{a 10000}", "{a 99999999999999999999}",               // or beyond the limit
                              "abc+", "+", "+(a+)", "++a", "^^(a)",                  // nothing to act on, or twice
                              "a\xE3\x81", "\xE3\x41", "\xC0\xAF", "\xED\xA0\x80", "{\xFF}"}) {  // not UTF-8
        EXPECT_EQ(parseSendKeys(input), std::nullopt) << input;
    }
}

}  // namespace
}  // namespace kolvi
