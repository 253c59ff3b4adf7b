#pragma once
// The alarm editor without a window: its whole state and the effect of each of
// its handlers. The dialog forwards every event to one call here and renders
// state() back into its controls; it keeps no values of its own.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_rules.h"
#include "editor/timer_history.h"
#include "platform/clock.h"
#include "platform/text_codec.h"
#include "store/alarm_record.h"

namespace kolvi {

enum class EditorPurpose { add, edit };
// Alarm: a time of day on chosen weekdays. Timer: a countdown, which OK turns
// into an alarm on every weekday at the moment it ends.
enum class EditorKind { alarm, timer };
enum class TimeField { hour = 0, minute = 1, second = 2 };
// The preset menus of the unit labels; item indexes as in their captions
// (0-11, and 0 or 30 for seconds).
enum class TimePreset { hourAm, hourPm, hourLength, minute, second };
enum class HourMenu { clockHours, durations };  // hourAm/hourPm, or hourLength
enum class DayPreset { everyday, workday, weekend, clear };

struct EditorState {
    EditorPurpose purpose = EditorPurpose::add;
    EditorKind kind = EditorKind::alarm;
    bool timerSelectable = false;  // the timer option is enabled (only when adding)
    std::string nameText;          // the name box of the alarm kind
    std::string nameCombo;         // the combo box's text, timer kind
    std::vector<TimerHistoryItem> history;  // the combo box's list
    std::array<bool, 7> days{};             // Sunday first
    std::array<std::string, 3> times{"00", "00", "00"};  // as the fields hold them, by TimeField
    std::string fileText;
    bool deleteChecked = false;
    bool historyChecked = false;

    // Everything below follows from the values above.
    std::string_view title() const;
    bool nameComboVisible() const { return kind == EditorKind::timer; }  // else nameText is
    bool weekdaysEnabled() const { return kind == EditorKind::alarm; }    // boxes, frame and button
    bool historyEnabled() const { return kind == EditorKind::timer; }
    bool previewEnabled() const { return !fileText.empty(); }
    std::string_view timeFrameCaption() const;
    std::string_view hourCaption() const;
    std::string_view minCaption() const;
    std::string_view secCaption() const;
    HourMenu hourMenu() const { return kind == EditorKind::alarm ? HourMenu::clockHours : HourMenu::durations; }
    const std::string& time(TimeField field) const { return times[static_cast<std::size_t>(field)]; }
    std::string& time(TimeField field) { return times[static_cast<std::size_t>(field)]; }
};

// What OK does: with a refusal the dialog stays open and nothing changes;
// otherwise `record` is the new alarm, and `history`, when set, the entry
// that went to the timer history.
struct EditorResult {
    std::optional<EditorRefusal> refusal;
    AlarmRecord record;
    std::optional<TimerHistoryEntry> history;
};

// Records a countdown in the timer history, telling the user when that fails.
using RecordTimerHistory = std::function<void(const TimerHistoryEntry&)>;

// A typed character a time field keeps: a digit 0-9 or backspace (8).
bool acceptsTimeKey(char32_t character);

class EditorModel {
public:
    const EditorState& state() const { return state_; }

    // Fills the dialog from an alarm line. Adding enables the timer option,
    // and its alarm kind starts with an empty name, no weekday and the delete
    // box clear; editing shows the line's values.
    void open(EditorPurpose purpose, std::string_view alarmLine);
    // From now on a time field's text that is not a number is emptied.
    void dialogShown() { shown_ = true; }

    // Choosing the kind already chosen, or the timer kind while editing,
    // changes nothing.
    void selectType(EditorKind kind);

    // The timer history's entries for the combo box's list.
    void setHistory(std::vector<TimerHistoryItem> items) { state_.history = std::move(items); }
    void setNameText(std::string text) { state_.nameText = std::move(text); }
    void setNameCombo(std::string text) { state_.nameCombo = std::move(text); }
    void setFileText(std::string text) { state_.fileText = std::move(text); }
    void setDeleteChecked(bool checked) { state_.deleteChecked = checked; }
    // Ignored while the box is disabled (alarm kind).
    void setHistoryChecked(bool checked) { state_.historyChecked = checked && state_.historyEnabled(); }
    // Both ignored while the weekdays are disabled (timer kind).
    void setDay(std::size_t day, bool checked);
    void applyDayPreset(DayPreset preset);

    // The field's text changed (typed or pasted). Once the dialog is shown,
    // full-width digits become the digits they are, and a text that is not
    // then one or two digits empties the field. True when the field's text
    // was replaced, so that the form shows it again.
    bool changeTimeText(TimeField field, std::string_view text);
    // An up-down arrow: steps the number in the field (empty reads as 0) by
    // +1 or -1, wrapping at the ends of 0-23 or 0-59, and writes two digits.
    // A number outside the range counts as its nearer end.
    void step(TimeField field, int delta);
    // A preset item: writes the value with two digits. Returns the field it
    // set, for the form to select; an index the menu does not have changes
    // nothing.
    TimeField applyPreset(TimePreset preset, int index);

    // An item chosen from the combo box's list, and its entry read afresh:
    // the entry's name, times, file and delete flag; the history box is
    // cleared. Times that are not one or two digits come in empty. An entry
    // that can no longer be read (the file changed since the list was read)
    // brings only the item's name, which the combo box shows by now.
    void applyTimerHistory(std::string_view itemName, const std::optional<TimerHistoryEntry>& entry);

    // The line the play button hands to the alarm action.
    std::string previewLine() const;
    // Where the open-file dialog starts: the folder of the path in the file
    // field, "" for the system's choice.
    std::string browseFolder() const;

    // A countdown goes to recordHistory first (when its box is ticked), and
    // then the clock is read for its end: a message box about the history
    // may keep the user for longer than the countdown.
    EditorResult ok(const Clock& clock, const TextCodec& codec, const RecordTimerHistory& recordHistory = {}) const;

private:
    void switchToAlarm();
    void switchToTimer();
    std::optional<EditorRefusal> checkTimes() const;

    EditorState state_;
    std::string keptEnabledField_ = "1";
    bool shown_ = false;
};

}  // namespace kolvi
