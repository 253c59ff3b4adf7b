#include "notify/extension.h"

#include <charconv>
#include <limits>
#include <vector>

#include "store/alarm_record.h"
#include "texts/alarm_texts.h"
#include "text/fields.h"

namespace kolvi {
namespace {

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

// Floor division, so that times before midnight land on the previous day.
long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

std::string extensionKeyName(int digit) { return "key" + std::to_string(digit); }

std::string defaultExtensionText(int digit) { return "00:0" + std::to_string(digit) + ":00"; }

std::optional<ExtensionSpan> parseExtensionSpan(std::string_view text) {
    const std::vector<std::string_view> parts = splitFields(text, ':');
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
    std::optional<AlarmRecord> extension = parseAlarmLine(firedLine);
    if (!extension) return std::nullopt;
    extension->name += kExtensionNameSuffix;
    extension->days.fill(true);
    extension->hour = static_cast<std::int16_t>(due.hour);
    extension->minute = static_cast<std::int16_t>(due.minute);
    extension->second = static_cast<std::int16_t>(due.second);
    extension->deleteAfterRun = true;
    return formatAlarmLine(*extension);
}

}  // namespace kolvi
