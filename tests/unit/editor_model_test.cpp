#include "editor/editor_model.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "platform/posix/iconv_codec.h"
#include "store/alarm_record.h"
#include "support/fakes.h"
#include "texts/editor_texts.h"

namespace kolvi {
namespace {

using Times = std::array<std::string, 3>;
constexpr const char* kLine = "0,朝会,1,1,0,0,0,0,1,07,05,123,C:\\a.wav,1";

class EditorModelTest : public ::testing::Test {
protected:
    void openToAdd(EditorKind kind) {
        model.open(EditorPurpose::add, kDefaultAlarmLine);
        model.dialogShown();
        model.selectType(kind);
    }
    void type(const Times& times) {
        for (int i = 0; i < 3; ++i) model.changeTimeText(static_cast<TimeField>(i), times[static_cast<std::size_t>(i)]);
    }
    EditorResult ok() const { return model.ok(clock, codec); }
    const EditorState& state() const { return model.state(); }
    std::string days() const {  // Sunday first, "1" ticked
        std::string text;
        for (const bool day : state().days) text += day ? "1" : "0";
        return text;
    }

    EditorModel model;
    IconvCodec codec;
    test::TestClock clock;
};

TEST_F(EditorModelTest, AddingClearsNameWeekdaysAndDeleteButKeepsTimesAndFile) {
    for (const EditorPurpose purpose : {EditorPurpose::add, EditorPurpose::edit}) {
        const bool adding = purpose == EditorPurpose::add;
        SCOPED_TRACE(adding ? "add" : "edit");
        model.open(purpose, kLine);
        EXPECT_EQ(state().title(), adding ? kEditorTitleAdd : kEditorTitleEdit);
        EXPECT_EQ(state().kind, EditorKind::alarm);
        EXPECT_EQ(state().timerSelectable, adding);
        EXPECT_EQ(state().nameText, adding ? "" : "朝会");
        EXPECT_EQ(days(), adding ? "0000000" : "1100001");
        EXPECT_EQ(state().deleteChecked, !adding);
        EXPECT_EQ(state().times, (Times{"07", "05", "123"}));
        EXPECT_EQ(state().fileText, "C:\\a.wav");
    }
    // Editing stays in the alarm kind; the kept switch (off) comes back unchanged.
    model.selectType(EditorKind::timer);
    EXPECT_EQ(state().kind, EditorKind::alarm);
    EXPECT_FALSE(model.changeTimeText(TimeField::second, "123"));  // not shown yet: left alone
    EXPECT_EQ(state().time(TimeField::second), "123");
    model.dialogShown();
    model.changeTimeText(TimeField::second, "9");
    EXPECT_EQ(ok().line, "0,朝会,1,1,0,0,0,0,1,07,05,09,C:\\a.wav,1");
}

TEST_F(EditorModelTest, KindSwitchSetsCaptionsAndTheKindsDefaults) {
    // Everything the kind decides, in one line: captions, hour menu, which name
    // control, weekdays enabled and ticked, history enabled and ticked, delete.
    const auto look = [this] {
        const EditorState& s = state();
        std::string text = std::string(s.timeFrameCaption()) + "|" + std::string(s.hourCaption()) + "|" +
                           std::string(s.minCaption()) + "|" + std::string(s.secCaption()) + "|";
        text += s.hourMenu() == HourMenu::clockHours ? "clock|" : "durations|";
        text += s.nameComboVisible() ? "combo|" : "text|";
        text += (s.weekdaysEnabled() ? "days " : "fixed days ") + days();
        return text + (s.historyEnabled() ? "|history " : "|no history ") + (s.historyChecked ? "1" : "0") +
               "|delete " + (s.deleteChecked ? "1" : "0");
    };
    const std::string alarm = "時刻(&M)|時|分|秒|clock|text|days 0000000|no history 0|delete 0";
    const std::string timer = "時間(&M)|時間|分|秒後|durations|combo|fixed days 1111111|history 1|delete 1";
    openToAdd(EditorKind::alarm);
    EXPECT_EQ(look(), alarm);
    model.setNameText("朝会");
    model.applyDayPreset(DayPreset::workday);
    model.setDeleteChecked(true);
    type({"1", "2", "3"});
    model.setFileText("lock");

    model.selectType(EditorKind::timer);
    EXPECT_EQ(look(), timer);
    EXPECT_EQ(state().nameCombo, kDefaultTimerName);
    model.setDay(1, false);  // the weekdays are disabled
    model.applyDayPreset(DayPreset::clear);
    model.setNameCombo("麺");
    model.selectType(EditorKind::timer);  // already chosen: nothing happens
    EXPECT_EQ(state().nameCombo, "麺");
    EXPECT_EQ(look(), timer);

    model.selectType(EditorKind::alarm);
    EXPECT_EQ(look(), alarm);
    EXPECT_EQ(state().nameText, "");
    EXPECT_EQ(state().times, (Times{"1", "2", "3"}));
    EXPECT_EQ(state().fileText, "lock");
    model.selectType(EditorKind::timer);
    EXPECT_EQ(state().nameCombo, kDefaultTimerName);
}

TEST_F(EditorModelTest, OkWritesTwoDigitTimesAndTurnsACountdownIntoItsEnd) {
    const struct {
        EditorKind kind;
        LocalTime now;
        Times typed;
        std::string line;
    } cases[] = {
        {EditorKind::alarm, {}, {"7", "5", ""}, "1,,0,0,0,0,0,0,0,07,05,00,,0"},
        {EditorKind::alarm, {}, {"23", "59", "59"}, "1,,0,0,0,0,0,0,0,23,59,59,,0"},
        {EditorKind::timer, {1, 23, 59, 50}, {"", "", "15"}, "1,タイマー,1,1,1,1,1,1,1,00,00,05,,1"},
        {EditorKind::timer, {1, 23, 50, 0}, {"00", "20", "00"}, "1,タイマー,1,1,1,1,1,1,1,00,10,00,,1"},
        {EditorKind::timer, {1, 10, 0, 0}, {"23", "59", "59"}, "1,タイマー,1,1,1,1,1,1,1,09,59,59,,1"},
        {EditorKind::timer, {1, 12, 34, 56}, {"", "", ""}, "1,タイマー,1,1,1,1,1,1,1,12,34,56,,1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        openToAdd(c.kind);
        clock.time = c.now;
        type(c.typed);
        const EditorResult result = ok();
        EXPECT_FALSE(result.refusal);
        EXPECT_EQ(result.line, c.line);
    }
}

TEST_F(EditorModelTest, OkRefusesWhatTheLineCannotHoldAndTimesThatNeverComeDue) {
    const std::string comma(kMsgCommaInField), bad(kMsgUnstorableCharacter);
    const std::string badTime(kMsgBadTimeOfDay), tooLong(kMsgCountdownTooLong);
    const struct {
        EditorKind kind;
        std::string name, file;
        Times typed;
        EditorRefusal refusal;
    } cases[] = {
        {EditorKind::alarm, "a,b", "", {}, {comma, EditorField::name}},
        {EditorKind::timer, "a,b", "", {}, {comma, EditorField::name}},
        {EditorKind::alarm, "", "C:\\a,b.wav", {}, {comma, EditorField::file}},
        {EditorKind::alarm, "朝😀会", "", {}, {bad + "😀", EditorField::name}},
        {EditorKind::alarm, "a\r\nb", "", {}, {bad + "U+000D", EditorField::name}},
        {EditorKind::alarm, "", "C:\\한.wav", {}, {bad + "한", EditorField::file}},
        {EditorKind::alarm, "", "", {"24", "", ""}, {badTime, EditorField::hour}},
        {EditorKind::alarm, "", "", {"", "60", "99"}, {badTime, EditorField::minute}},
        {EditorKind::alarm, "", "", {"", "", "60"}, {badTime, EditorField::second}},
        {EditorKind::alarm, "a,b", "", {"99", "", ""}, {comma, EditorField::name}},
        {EditorKind::alarm, "", "a,b", {"99", "", ""}, {badTime, EditorField::hour}},
        {EditorKind::timer, "", "", {"24", "", ""}, {tooLong, EditorField::hour}},
        {EditorKind::timer, "", "", {"23", "59", "60"}, {tooLong, EditorField::hour}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal.message);
        openToAdd(c.kind);
        model.setNameText(c.name);
        model.setNameCombo(c.name);
        model.setFileText(c.file);
        type(c.typed);
        const EditorResult result = ok();
        EXPECT_EQ(result.refusal, c.refusal);
        EXPECT_EQ(result.line, "");
        EXPECT_FALSE(result.history);
    }
}

TEST_F(EditorModelTest, OnlyACountdownWithTheBoxTickedGoesToTheHistoryAsTyped) {
    openToAdd(EditorKind::timer);
    type({"1", "", "30"});
    model.setFileText(" C:\\a.wav");
    EXPECT_EQ(ok().history, (TimerHistoryEntry{"タイマー", "1", "", "30", " C:\\a.wav", true}));
    model.setHistoryChecked(false);
    EXPECT_FALSE(ok().history);
    model.selectType(EditorKind::alarm);
    model.setHistoryChecked(true);
    EXPECT_FALSE(ok().history);
}

TEST_F(EditorModelTest, TimeFieldsKeepDigitsOnly) {
    for (const char32_t key : {U'0', U'9', char32_t{8}}) EXPECT_TRUE(acceptsTimeKey(key)) << unsigned{key};
    for (const char32_t key : {U'a', U' ', U'-', U'+', char32_t{22}, U'１'}) {
        EXPECT_FALSE(acceptsTimeKey(key)) << unsigned{key};
    }

    const struct {
        std::string pasted, kept;
    } cases[] = {{"1a", ""}, {"5", "5"}, {"12", "12"}, {"", ""}, {" 1", ""}, {"+1", ""}, {"１", ""}, {"1.", ""}};
    openToAdd(EditorKind::alarm);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        EXPECT_EQ(model.changeTimeText(TimeField::minute, c.pasted), c.pasted != c.kept);
        EXPECT_EQ(state().time(TimeField::minute), c.kept);
    }
}

TEST_F(EditorModelTest, UpDownStepsFromTheTypedNumberAndWraps) {
    const struct {
        TimeField field;
        std::string typed;
        int delta;
        std::string result;
    } cases[] = {
        {TimeField::hour, "23", +1, "00"},  {TimeField::hour, "0", -1, "23"},     {TimeField::hour, "", +1, "01"},
        {TimeField::hour, "", -1, "23"},    {TimeField::minute, "59", +1, "00"},  {TimeField::second, "00", -1, "59"},
        {TimeField::minute, "7", +1, "08"}, {TimeField::minute, "7", -1, "06"},   {TimeField::minute, "75", +1, "00"},
        {TimeField::minute, "75", -1, "58"},
    };
    openToAdd(EditorKind::alarm);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed + (c.delta > 0 ? " up" : " down"));
        model.changeTimeText(c.field, c.typed);
        model.step(c.field, c.delta);
        EXPECT_EQ(state().time(c.field), c.result);
    }
}

TEST_F(EditorModelTest, PresetItemsWriteTwoDigits) {
    const struct {
        TimePreset preset;
        int index;
        TimeField field;
        std::string result;  // the field held "42" before
    } cases[] = {
        {TimePreset::hourAm, 11, TimeField::hour, "11"},    {TimePreset::hourPm, 3, TimeField::hour, "15"},
        {TimePreset::hourLength, 7, TimeField::hour, "07"}, {TimePreset::minute, 11, TimeField::minute, "55"},
        {TimePreset::minute, 12, TimeField::minute, "42"},  {TimePreset::second, 30, TimeField::second, "30"},
        {TimePreset::second, 15, TimeField::second, "42"},
    };
    openToAdd(EditorKind::alarm);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        model.changeTimeText(c.field, "42");
        EXPECT_EQ(model.applyPreset(c.preset, c.index), c.field);
        EXPECT_EQ(state().time(c.field), c.result);
    }
}

TEST_F(EditorModelTest, WeekdayPresetsSetAllSevenBoxes) {
    const std::pair<DayPreset, std::string> cases[] = {
        {DayPreset::everyday, "1111111"}, {DayPreset::workday, "0111110"},
        {DayPreset::weekend, "1000001"},  {DayPreset::clear, "0000000"}};
    openToAdd(EditorKind::alarm);
    for (const DayPreset before : {DayPreset::clear, DayPreset::everyday}) {
        for (const auto& [preset, result] : cases) {
            model.applyDayPreset(before);
            model.applyDayPreset(preset);
            EXPECT_EQ(days(), result);
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

TEST_F(EditorModelTest, ChoosingAHistoryEntryFillsTheCountdown) {
    openToAdd(EditorKind::timer);
    model.applyTimerHistory({"カップ麺", "0", "3", "1a", "D:\\b.wav", false});
    EXPECT_EQ(state().nameCombo, "カップ麺");
    EXPECT_EQ(state().times, (Times{"0", "3", ""}));
    EXPECT_EQ(state().fileText, "D:\\b.wav");
    EXPECT_FALSE(state().deleteChecked);
    EXPECT_FALSE(state().historyChecked);
    EXPECT_EQ(days(), "1111111");
}

}  // namespace
}  // namespace kolvi
