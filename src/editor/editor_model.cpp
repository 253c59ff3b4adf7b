#include "editor/editor_model.h"

#include <algorithm>

#include "notify/extension.h"
#include "store/alarm_record.h"
#include "store/paths.h"
#include "text/fields.h"
#include "text/utf8.h"
#include "texts/editor_texts.h"

namespace kolvi {
namespace {

constexpr std::array<int, 3> kTopOfRange{23, 59, 59};

// One or two digits, as a time field keeps them, or "". Full-width digits
// (pasted, or typed with the Japanese input on) are the digits they show.
std::string timeTextOrEmpty(std::string_view text) {
    std::string digits;
    for (std::size_t pos = 0; pos < text.size() && digits.size() <= 2;) {
        const std::optional<char32_t> c = utf8::nextCodePoint(text, pos);
        if (c && *c >= U'0' && *c <= U'9') {
            digits += static_cast<char>(*c);
        } else if (c && *c >= U'\uFF10' && *c <= U'\uFF19') {
            digits += static_cast<char>('0' + (*c - U'\uFF10'));
        } else {
            return {};
        }
    }
    return digits.size() <= 2 ? digits : std::string();
}

int topOfRange(TimeField field) { return kTopOfRange[static_cast<std::size_t>(field)]; }

}  // namespace

std::string_view EditorState::title() const {
    return purpose == EditorPurpose::add ? kEditorTitleAdd : kEditorTitleEdit;
}
std::string_view EditorState::timeFrameCaption() const {
    return kind == EditorKind::alarm ? kTimeFrameAlarm : kTimeFrameTimer;
}
std::string_view EditorState::hourCaption() const {
    return kind == EditorKind::alarm ? kHourLabelAlarm : kHourLabelTimer;
}
std::string_view EditorState::minCaption() const { return kMinLabel; }
std::string_view EditorState::secCaption() const {
    return kind == EditorKind::alarm ? kSecLabelAlarm : kSecLabelTimer;
}

bool acceptsTimeKey(char32_t character) { return character == 8 || (character >= '0' && character <= '9'); }

void EditorModel::open(EditorPurpose purpose, std::string_view alarmLine) {
    std::array<std::string_view, kAlarmFieldCount> fields;
    splitFieldsInto(alarmLine, fields);
    const auto field = [&fields](Field f) { return fields[static_cast<std::size_t>(f)]; };

    state_ = EditorState{};
    shown_ = false;
    keptEnabledField_ = field(Field::enabled);
    state_.purpose = purpose;
    state_.nameText = field(Field::name);
    for (std::size_t day = 0; day < state_.days.size(); ++day) {
        state_.days[day] = textToFlag(fields[static_cast<std::size_t>(Field::firstDay) + day]);
    }
    state_.times = {std::string(field(Field::hour)), std::string(field(Field::minute)),
                    std::string(field(Field::second))};
    state_.fileText = field(Field::file);
    state_.deleteChecked = textToFlag(field(Field::deleteAfterRun));
    state_.timerSelectable = purpose == EditorPurpose::add;
    switchToAlarm();
}

void EditorModel::selectType(EditorKind kind) {
    if (kind == state_.kind || (kind == EditorKind::timer && !state_.timerSelectable)) return;
    if (kind == EditorKind::alarm) {
        switchToAlarm();
    } else {
        switchToTimer();
    }
}

// Only when adding does the switch reset the name, the weekdays and the
// delete box; the times and the file always survive it.
void EditorModel::switchToAlarm() {
    state_.kind = EditorKind::alarm;
    if (state_.timerSelectable) {
        state_.nameText.clear();
        state_.days.fill(false);
        state_.deleteChecked = false;
    }
    state_.historyChecked = false;
}

void EditorModel::switchToTimer() {
    state_.kind = EditorKind::timer;
    state_.nameCombo = kDefaultTimerName;
    state_.days.fill(true);
    state_.deleteChecked = true;
    state_.historyChecked = true;
}

void EditorModel::setDay(std::size_t day, bool checked) {
    if (state_.weekdaysEnabled() && day < state_.days.size()) state_.days[day] = checked;
}

void EditorModel::applyDayPreset(DayPreset preset) {
    if (!state_.weekdaysEnabled()) return;
    for (std::size_t day = 0; day < state_.days.size(); ++day) {
        const bool weekend = day == 0 || day == 6;
        switch (preset) {
        case DayPreset::everyday: state_.days[day] = true; break;
        case DayPreset::workday: state_.days[day] = !weekend; break;
        case DayPreset::weekend: state_.days[day] = weekend; break;
        case DayPreset::clear: state_.days[day] = false; break;
        }
    }
}

bool EditorModel::changeTimeText(TimeField field, std::string_view text) {
    if (!shown_) return false;
    std::string& time = state_.time(field);
    time = timeTextOrEmpty(text);
    return time != text;
}

void EditorModel::step(TimeField field, int delta) {
    const int top = topOfRange(field);
    int value = std::clamp<int>(toInteger(state_.time(field)), 0, top) + delta;
    if (value < 0) value = top;
    if (value > top) value = 0;
    state_.time(field) = zeroPad(value, 2);
}

TimeField EditorModel::applyPreset(TimePreset preset, int index) {
    const TimeField field = preset == TimePreset::minute   ? TimeField::minute
                            : preset == TimePreset::second ? TimeField::second
                                                           : TimeField::hour;
    const bool known = preset == TimePreset::second ? index == 0 || index == 30 : index >= 0 && index <= 11;
    if (!known) return field;
    const int value = preset == TimePreset::hourPm ? index + 12 : preset == TimePreset::minute ? index * 5 : index;
    state_.time(field) = zeroPad(value, 2);
    return field;
}

void EditorModel::applyTimerHistory(std::string_view itemName, const std::optional<TimerHistoryEntry>& entry) {
    selectType(EditorKind::timer);
    if (state_.kind != EditorKind::timer) return;
    if (!entry) {
        state_.nameCombo = itemName;
        return;
    }
    state_.nameCombo = entry->name;
    state_.times = {timeTextOrEmpty(entry->hours), timeTextOrEmpty(entry->minutes), timeTextOrEmpty(entry->seconds)};
    state_.fileText = entry->file;
    state_.deleteChecked = entry->deleteAfterRun;
    state_.historyChecked = false;
}

// Switched off, named "0", no weekday: only its file matters to the action.
std::string EditorModel::previewLine() const {
    return formatAlarmLine({false, "0", {}, 0, 0, 0, state_.fileText, false});
}

std::string EditorModel::browseFolder() const {
    std::string folder = directoryPart(state_.fileText);
    // "C:" alone would mean the drive's current folder.
    if (!folder.empty() && folder.back() == ':') folder += '\\';
    return folder;
}

std::optional<EditorRefusal> EditorModel::checkTimes() const {
    const auto value = [this](TimeField field) { return toInteger(state_.time(field)); };
    if (state_.kind == EditorKind::timer) {
        return checkCountdown(value(TimeField::hour) * 3600LL + value(TimeField::minute) * 60LL +
                              value(TimeField::second));
    }
    return checkTimeOfDay(value(TimeField::hour), value(TimeField::minute), value(TimeField::second));
}

EditorResult EditorModel::ok(const Clock& clock, const TextCodec& codec, const RecordTimerHistory& recordHistory) const {
    const bool timer = state_.kind == EditorKind::timer;
    const std::string& name = timer ? state_.nameCombo : state_.nameText;
    // In the order of the fields in the dialog, so that the focus goes to the first at fault.
    std::optional<EditorRefusal> refusal = checkStorableText(name, EditorField::name, codec);
    if (!refusal) refusal = checkTimes();
    if (!refusal) refusal = checkStorableText(state_.fileText, EditorField::file, codec);
    if (refusal) return {std::move(refusal), {}, {}};

    EditorResult result;
    AlarmRecord& record = result.record;
    record.enabled = textToFlag(keptEnabledField_);
    record.name = name;
    record.days = state_.days;
    record.hour = toInteger(state_.time(TimeField::hour));
    record.minute = toInteger(state_.time(TimeField::minute));
    record.second = toInteger(state_.time(TimeField::second));
    record.file = state_.fileText;
    record.deleteAfterRun = state_.deleteChecked;
    if (!timer) return result;

    if (state_.historyChecked) {
        result.history = TimerHistoryEntry{name,           state_.time(TimeField::hour), state_.time(TimeField::minute),
                                           state_.time(TimeField::second), state_.fileText, state_.deleteChecked};
        if (recordHistory) recordHistory(*result.history);
    }
    const LocalTime end = extendedTime(clock.now(), {record.hour, record.minute, record.second});
    record.hour = static_cast<std::int16_t>(end.hour);
    record.minute = static_cast<std::int16_t>(end.minute);
    record.second = static_cast<std::int16_t>(end.second);
    return result;
}

}  // namespace kolvi
