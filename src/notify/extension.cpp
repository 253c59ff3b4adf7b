#include "notify/extension.h"

#include <charconv>
#include <limits>
#include <utility>
#include <vector>

#include "notify/sound_commands.h"
#include "store/alarm_record.h"

namespace kolvi {
namespace {

constexpr long long kSecondsPerDay = 24 * 60 * 60;

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::optional<std::int16_t> parseInt16(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    const long long signedValue = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    if (signedValue < std::numeric_limits<std::int16_t>::min() || signedValue > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(signedValue);
}

std::vector<std::string> splitAt(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// Floor division, so that times before midnight land on the previous day.
long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

std::string extensionKeyName(int digit) { return "key" + std::to_string(digit); }

std::string defaultExtensionText(int digit) { return "00:0" + std::to_string(digit) + ":00"; }

std::optional<ExtensionSpan> parseExtensionSpan(std::string_view text) {
    const std::vector<std::string> parts = splitAt(text, ':');
    if (parts.size() != 3) return std::nullopt;
    const auto hours = parseInt16(parts[0]);
    const auto minutes = parseInt16(parts[1]);
    const auto seconds = parseInt16(parts[2]);
    if (!hours || !minutes || !seconds) return std::nullopt;
    return ExtensionSpan{*hours, *minutes, *seconds};
}

ExtensionSpan readExtensionSpan(const SettingsFile& settings, int digit) {
    std::string value = settings.readString("alarm", extensionKeyName(digit), defaultExtensionText(digit));
    std::erase(value, '\0');
    if (const auto span = parseExtensionSpan(value)) return *span;
    return ExtensionSpan{0, static_cast<std::int16_t>(digit), 0};
}

bool extendsAlarm(const ExtensionSpan& span) { return span.hours + span.minutes + span.seconds > 0; }

LocalTime extendedTime(const LocalTime& now, const ExtensionSpan& span) {
    const long long total = (static_cast<long long>(now.hour) + span.hours) * 3600 +
                            (static_cast<long long>(now.minute) + span.minutes) * 60 + now.second + span.seconds;
    const long long days = floorDiv(total, kSecondsPerDay);
    const long long timeOfDay = total - days * kSecondsPerDay;
    LocalTime due;
    due.weekday = static_cast<int>(((now.weekday + days) % 7 + 7) % 7);
    due.hour = static_cast<int>(timeOfDay / 3600);
    due.minute = static_cast<int>(timeOfDay / 60 % 60);
    due.second = static_cast<int>(timeOfDay % 60);
    return due;
}

std::optional<std::string> buildExtensionLine(std::string_view firedLine, const LocalTime& due) {
    std::vector<std::string> fields = splitAt(firedLine, ',');
    if (fields.size() < static_cast<std::size_t>(kAlarmFieldCount)) return std::nullopt;
    fields[1] += kExtensionNameSuffix;
    for (std::size_t day = 2; day <= 8; ++day) fields[day] = "1";
    fields[9] = zeroPad(due.hour, 2);
    fields[10] = zeroPad(due.minute, 2);
    fields[11] = zeroPad(due.second, 2);
    fields[13] = "1";

    std::string line = std::move(fields[0]);
    for (std::size_t i = 1; i < fields.size(); ++i) {
        line += ',';
        line += fields[i];
    }
    return line;
}

NotificationWindowModel::NotificationWindowModel(int mode, int apiType, std::uint64_t windowHandleValue,
                                                 std::string alarmLine)
    : mode_(mode), apiType_(apiType), windowHandleValue_(windowHandleValue), alarmLine_(std::move(alarmLine)) {}

void NotificationWindowModel::startSound(SoundDevice& device, std::string_view file) const {
    kolvi::startSound(device, file, apiType_, windowHandleValue_);
}

bool NotificationWindowModel::keyPress(char32_t key, const SettingsFile& settings) {
    if (unloaded_ || isPreview() || key < U'1' || key > U'9') return false;
    span_ = readExtensionSpan(settings, static_cast<int>(key - U'0'));
    return true;
}

UnloadOutcome NotificationWindowModel::unload(SoundDevice& device, const Clock& clock, const AlarmList* target) {
    if (unloaded_) return {};
    unloaded_ = true;
    stopSound(device, apiType_, windowHandleValue_);
    if (isPreview() || !extendsAlarm(span_)) return {};
    if (target == nullptr || !target->isFileOpen()) return {UnloadAction::tellNoFileOpen, {}};
    std::optional<std::string> line = buildExtensionLine(alarmLine_, extendedTime(clock.now(), span_));
    if (!line) return {};
    return {UnloadAction::addExtension, std::move(*line)};
}

}  // namespace kolvi
