#include "editor/editor_model.h"
#include "editor/timer_history.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "store/alarm_record.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"
#include "texts/editor_texts.h"

namespace kolvi {
namespace {

using Times = std::array<std::string, 3>;

class EditorModelTest : public ::testing::Test {
protected:
    void openToAdd(EditorKind kind) {
        model.open(EditorPurpose::add, kDefaultAlarmLine);
        model.dialogShown();
        model.selectType(kind);
    }
    void type(const Times& times) {
        for (std::size_t i = 0; i < 3; ++i) model.changeTimeText(static_cast<TimeField>(i), times[i]);
    }
    EditorResult ok() const { return model.ok(clock, codec); }
    // What the dialog shows: title, captions, hour menu | name | weekdays | times | file | boxes.
    std::string look() const {
        const EditorState& s = model.state();
        std::string text(s.title());
        for (const std::string_view part : {s.timeFrameCaption(), s.hourCaption(), s.minCaption(), s.secCaption()}) {
            text.append(" ").append(part);
        }
        text += s.hourMenu() == HourMenu::clockHours ? " clock|" : " durations|";
        text += (s.nameComboVisible() ? "combo " + s.nameCombo : "text " + s.nameText) + "|";
        text += s.weekdaysEnabled() ? "days " : "fixed days ";
        for (const bool day : s.days) text += day ? '1' : '0';
        text += "|" + s.times[0] + ":" + s.times[1] + ":" + s.times[2] + "|" + s.fileText;
        text += std::string("|delete ") + (s.deleteChecked ? "1" : "0");
        text += std::string(s.historyEnabled() ? " history " : " fixed history ") + (s.historyChecked ? "1" : "0");
        return text + (s.timerSelectable ? " timer" : "");
    }

    EditorModel model;
    const IconvCodec codec{};
    test::TestClock clock;
};

TEST_F(EditorModelTest, OpeningAndSwitchingTheKindSetCaptionsAndDefaultsAndKeepTimesAndFile) {
    const char* line = "0,朝会,1,1,0,0,0,0,1,07,05,123,C:\\a.wav,1";
    const std::string alarm = "アラームの追加 時刻(&M) 時 分 秒 clock|text ";
    const std::string timer = "アラームの追加 時間(&M) 時間 分 秒後 durations|combo ";
    model.open(EditorPurpose::edit, line);
    model.selectType(EditorKind::timer);                           // only when adding
    EXPECT_FALSE(model.changeTimeText(TimeField::second, "123"));  // the dialog is still filling its fields
    EXPECT_EQ(look(), "アラームの編集 時刻(&M) 時 分 秒 clock|text 朝会|days 1100001|07:05:123|C:\\a.wav|delete 1 fixed history 0");
    model.dialogShown();
    model.changeTimeText(TimeField::second, "9");
    EXPECT_EQ(formatAlarmLine(ok().record), "0,朝会,1,1,0,0,0,0,1,07,05,09,C:\\a.wav,1");  // the switch kept

    model.open(EditorPurpose::add, line);
    EXPECT_EQ(look(), alarm + "|days 0000000|07:05:123|C:\\a.wav|delete 0 fixed history 0 timer");
    model.setNameText("朝会");
    model.applyDayPreset(DayPreset::workday);
    model.setDeleteChecked(true);
    model.selectType(EditorKind::timer);
    model.setDay(1, false);  // the weekdays are disabled
    model.applyDayPreset(DayPreset::clear);
    model.setNameCombo("麺");
    model.selectType(EditorKind::timer);  // already chosen: nothing happens
    EXPECT_EQ(look(), timer + "麺|fixed days 1111111|07:05:123|C:\\a.wav|delete 1 history 1 timer");
    model.selectType(EditorKind::alarm);
    model.setHistoryChecked(true);  // disabled
    EXPECT_EQ(look(), alarm + "|days 0000000|07:05:123|C:\\a.wav|delete 0 fixed history 0 timer");
    model.selectType(EditorKind::timer);
    model.applyTimerHistory("カップ麺", TimerHistoryEntry{"カップ麺", "0", "3", "1a", "D:\\b.wav", false});
    EXPECT_EQ(look(), timer + "カップ麺|fixed days 1111111|0:3:|D:\\b.wav|delete 0 history 0 timer");
    // Its line gone from the file since the list was read: the name the list showed, nothing else.
    model.applyTimerHistory("お茶", std::nullopt);
    EXPECT_EQ(look(), timer + "お茶|fixed days 1111111|0:3:|D:\\b.wav|delete 0 history 0 timer");
}

TEST_F(EditorModelTest, OkWritesTwoDigitTimesAndTurnsACountdownIntoItsEnd) {
    const std::tuple<EditorKind, LocalTime, Times, std::string> cases[] = {
        {EditorKind::alarm, {}, {"7", "5", ""}, "1,,0,0,0,0,0,0,0,07,05,00,,0"},
        {EditorKind::alarm, {}, {"23", "59", "59"}, "1,,0,0,0,0,0,0,0,23,59,59,,0"},
        {EditorKind::timer, {1, 10, 0, 0}, {"23", "59", "59"}, "1,タイマー,1,1,1,1,1,1,1,09,59,59,,1"},
        {EditorKind::timer, {1, 23, 59, 50}, {"", "", "15"}, "1,タイマー,1,1,1,1,1,1,1,00,00,05,,1"},
    };
    for (const auto& [kind, now, typed, line] : cases) {
        openToAdd(kind);
        clock.time = now;
        type(typed);
        EXPECT_EQ(formatAlarmLine(ok().record), line);
    }
    // The countdown goes to the history as typed, only with the box ticked;
    // it ends counting from after the history's failure box (closed at 23:59:59).
    model.setFileText(" C:\\a.wav");
    std::vector<TimerHistoryEntry> recorded;
    const EditorResult result = model.ok(clock, codec, [&](const TimerHistoryEntry& entry) {
        recorded.push_back(entry);
        clock.time.second = 59;
    });
    EXPECT_EQ(recorded, (std::vector{TimerHistoryEntry{"タイマー", "", "", "15", " C:\\a.wav", true}}));
    EXPECT_EQ(result.history, recorded.front());
    EXPECT_EQ(timeOfDayText(result.record.hour, result.record.minute, result.record.second), "00:00:14");
    model.setHistoryChecked(false);
    EXPECT_FALSE(ok().history);
}

TEST_F(EditorModelTest, OkRefusesWhatTheLineCannotHoldAndTimesThatNeverComeDue) {
    const std::string comma(kMsgCommaInField), bad(kMsgUnstorableCharacter);
    const std::string badTime(kMsgBadTimeOfDay), tooLong(kMsgCountdownTooLong), zero(kMsgCountdownZero);
    // The kind, the name, the file, the times; the refusal of the field in the dialog's order.
    const std::tuple<EditorKind, std::string, std::string, Times, EditorRefusal> cases[] = {
        {EditorKind::timer, "a,b", "", {"99", "", ""}, {comma, EditorField::name}},
        {EditorKind::alarm, "", "C:\\a,b.wav", {}, {comma, EditorField::file}},
        {EditorKind::alarm, "", "a,b", {"24", "", ""}, {badTime, EditorField::hour}},
        {EditorKind::alarm, "", "", {"", "60", "99"}, {badTime, EditorField::minute}},
        {EditorKind::alarm, "", "", {"", "", "60"}, {badTime, EditorField::second}},
        {EditorKind::alarm, "朝😀会", "", {}, {bad + "😀", EditorField::name}},
        {EditorKind::alarm, "a\r\nb", "", {}, {bad + "U+000D", EditorField::name}},
        {EditorKind::timer, "", "", {"24", "", ""}, {tooLong, EditorField::hour}},
        {EditorKind::timer, "", "", {"23", "59", "60"}, {tooLong, EditorField::hour}},
        // It would end in a second already checked, and ring a day later.
        {EditorKind::timer, "", "", {"", "0", "00"}, {zero, EditorField::hour}},
    };
    for (const auto& [kind, name, file, typed, refusal] : cases) {
        openToAdd(kind);
        kind == EditorKind::alarm ? model.setNameText(name) : model.setNameCombo(name);
        model.setFileText(file);
        type(typed);
        const EditorResult got = ok();
        EXPECT_EQ(std::tuple(got.refusal, got.record, !got.history), std::tuple(std::optional(refusal), AlarmRecord{}, true));
    }
}

TEST_F(EditorModelTest, TimeFieldsHoldOneOrTwoDigitsAndUpDownsWrap) {
    openToAdd(EditorKind::alarm);
    // Full-width digits are the digits they show; anything else empties the field.
    for (const auto& [pasted, kept] : {std::pair{"5", "5"}, {"12", "12"}, {"１２", "12"}, {"９9", "99"}, {"０", "0"},
                                       {" 1", ""}, {"1a", ""}, {"123", ""}, {"１２３", ""}}) {
        EXPECT_EQ(model.changeTimeText(TimeField::minute, pasted), std::string(pasted) != kept) << pasted;
        EXPECT_EQ(model.state().time(TimeField::minute), kept);
    }
    // The field, what it held, the arrow, what it holds then.
    const std::tuple<TimeField, std::string, int, std::string> steps[] = {
        {TimeField::hour, "23", +1, "00"}, {TimeField::hour, "", -1, "23"}, {TimeField::second, "00", -1, "59"},
        {TimeField::minute, "75", -1, "58"},
    };
    for (const auto& [field, typed, delta, result] : steps) {
        model.changeTimeText(field, typed);
        model.step(field, delta);
        EXPECT_EQ(model.state().time(field), result) << typed << delta;
    }
}

TEST_F(EditorModelTest, PresetsFillTheirFieldAndTheWeekdays) {
    // The preset, its item, the field it sets (which held "42"), what that holds then.
    const std::tuple<TimePreset, int, TimeField, std::string> cases[] = {
        {TimePreset::hourPm, 3, TimeField::hour, "15"},      {TimePreset::hourLength, 7, TimeField::hour, "07"},
        {TimePreset::minute, 11, TimeField::minute, "55"},   {TimePreset::minute, 12, TimeField::minute, "42"},
        {TimePreset::second, 30, TimeField::second, "30"},   {TimePreset::second, 15, TimeField::second, "42"},
    };
    openToAdd(EditorKind::alarm);
    for (const auto& [preset, index, field, result] : cases) {
        model.changeTimeText(field, "42");
        EXPECT_EQ(model.applyPreset(preset, index), field);
        EXPECT_EQ(model.state().time(field), result) << index;
    }
    const std::pair<DayPreset, std::string> days[] = {
        {DayPreset::everyday, "1111111"}, {DayPreset::workday, "0111110"}, {DayPreset::weekend, "1000001"},
        {DayPreset::clear, "0000000"}};
    for (const DayPreset before : {DayPreset::clear, DayPreset::everyday}) {
        for (const auto& [preset, result] : days) {
            model.applyDayPreset(before);
            model.applyDayPreset(preset);
            EXPECT_NE(look().find("|days " + result + "|"), std::string::npos) << result;
        }
    }
}

TEST_F(EditorModelTest, TheOpenFileDialogStartsInTheFilesFolder) {
    openToAdd(EditorKind::alarm);
    for (const auto& [file, folder] : {std::pair{"lock", ""}, {"C:\\曲\\a.wav", "C:\\曲"}, {"C:\\a.wav", "C:\\"}}) {
        model.setFileText(file);
        EXPECT_EQ(model.browseFolder(), folder);
    }
}

// How every file reads, and that a record always lands on a line of its own, is the property the
// fuzz target checks over its corpus (FuzzReplay.timer_history); these are the values it cannot know.
constexpr const char* kPath = "C:\\prog\\timer.history";

class TimerHistoryTest : public ::testing::Test, protected test::ProgramFiles {
protected:
    TimerHistory history{fs, codec, "C:\\prog"};
};

TEST_F(TimerHistoryTest, RecordAppendsOneLineAndRefusesWhatTheLineCannotHold) {
    EXPECT_TRUE(history.record({"カップ麺", "00", "3", "", "C:\\表.wav", true}));
    EXPECT_TRUE(history.record({"b", "1", "", "", "", false}));
    for (const TimerHistoryEntry& bad : {TimerHistoryEntry{"a,b", "", "", "", "", false},
                                         {"", "", "", "", "a\nb", false}, {"", "", "a\rb", "", "", false},
                                         {"😀", "", "", "", "", false}}) {
        EXPECT_FALSE(history.record(bad)) << bad.name << bad.minutes << bad.file;
    }
    fs.failWrites(1);
    EXPECT_FALSE(history.record({"c", "", "", "", "", false}));
    EXPECT_EQ(*codec.decode(fs.content(kPath)), "カップ麺,00,3,,C:\\表.wav,1\r\nb,1,,,,0\r\n");
    EXPECT_EQ(history.recordFailureText(), std::string(kMsgHistoryNotRecorded) + "\r\n" + kPath);
}

TEST_F(TimerHistoryTest, LinesWithoutSixFieldsAreSkippedWithoutShiftingTheOthers) {
    fs.put(kPath, *codec.encode("朝,1,2,3,C:\\表.wav,1\r\n\r\nb,1,2,3,4,5,6\r\nfive,f,f,f,f\r\nc,,,,x,yes\r\n"
                                "x\r\nd,,,,,0"));
    EXPECT_EQ(history.load(), (std::vector<TimerHistoryItem>{{"朝", 0}, {"c", 4}, {"d", 6}}));
    EXPECT_EQ(history.entry(4), (TimerHistoryEntry{"c", "", "", "", "x", false}));
}

}  // namespace
}  // namespace kolvi
