#include "mainwindow/remote_request.h"

#include <algorithm>
#include <utility>

#include "editor/editor_rules.h"
#include "mainwindow/window_settings.h"
#include "notify/extension.h"
#include "text/ascii.h"
#include "text/fields.h"
#include "texts/editor_texts.h"
#include "texts/list_texts.h"
#include "texts/remote_texts.h"

namespace kolvi {
namespace {

// Far above every limit, far below overflow: a number of any length stays a
// number, and a huge one is refused as too long rather than as bad syntax.
constexpr long long kSaturated = 1'000'000'000'000LL;

// ASCII digits only, at least one, and exactly `width` of them when given.
std::optional<long long> number(std::string_view text, std::size_t width = 0) {
    if (text.empty() || (width != 0 && text.size() != width)) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = std::min(value * 10 + (c - '0'), kSaturated);
    }
    return value;
}

// Minutes or seconds after a colon: two digits, 00-59.
std::optional<long long> sixtieths(std::string_view text) {
    const std::optional<long long> value = number(text, 2);
    return value && *value < 60 ? value : std::nullopt;
}

// H:MM:SS, M:SS, or numbers with units h, m, s, each at most once and in
// that order (any case); the total in seconds, limits not yet applied.
std::optional<long long> parseCountdownSpan(std::string_view text) {
    const std::vector<std::string_view> parts = splitFields(text, ':');
    if (parts.size() == 2 || parts.size() == 3) {
        const std::optional<long long> lead = number(parts[0]);
        const std::optional<long long> middle = sixtieths(parts[1]);
        const std::optional<long long> last = parts.size() == 3 ? sixtieths(parts[2]) : 0;
        if (!lead || !middle || !last) return std::nullopt;
        return parts.size() == 3 ? *lead * 3600 + *middle * 60 + *last : *lead * 60 + *middle;
    }
    if (parts.size() != 1 || text.empty()) return std::nullopt;
    static constexpr std::pair<char, long long> kUnits[] = {{'h', 3600}, {'m', 60}, {'s', 1}};
    long long total = 0;
    std::size_t unit = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find_first_not_of("0123456789", pos);
        if (end == pos || end == std::string_view::npos) return std::nullopt;
        while (unit < std::size(kUnits) && kUnits[unit].first != asciiLower(text[end])) ++unit;
        if (unit == std::size(kUnits)) return std::nullopt;
        total = std::min(total + *number(text.substr(pos, end - pos)) * kUnits[unit].second, kSaturated);
        ++unit;
        pos = end + 1;
    }
    return total;
}

// H:MM or H:MM:SS with a one- or two-digit hour; ranges not yet applied.
std::optional<std::array<long long, 3>> parseClockTime(std::string_view text) {
    const std::vector<std::string_view> parts = splitFields(text, ':');
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    const std::optional<long long> hour = parts[0].size() <= 2 ? number(parts[0]) : std::nullopt;
    const std::optional<long long> minute = number(parts[1], 2);
    const std::optional<long long> second = parts.size() == 3 ? number(parts[2], 2) : 0;
    if (!hour || !minute || !second) return std::nullopt;
    return std::array<long long, 3>{*hour, *minute, *second};
}

// Weekday characters in any order, or the word for every day.
std::optional<std::array<bool, 7>> parseDays(std::string_view text) {
    std::array<bool, 7> days{};
    if (text == kEveryDayWord) {
        days.fill(true);
        return days;
    }
    if (text.empty()) return std::nullopt;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto name = std::find_if(kDayNames.begin(), kDayNames.end(),
                                       [&](std::string_view day) { return text.substr(pos).starts_with(day); });
        if (name == kDayNames.end()) return std::nullopt;
        days[static_cast<std::size_t>(name - kDayNames.begin())] = true;
        pos += name->size();
    }
    return days;
}

}  // namespace

RemoteParse parseRemoteRequest(std::span<const std::string> words, const TextCodec& codec) {
    RemoteParse usage{std::nullopt, std::string(kRemoteUsage)};
    if (words.size() < 2) return usage;
    RemoteRequest request;
    std::span<const std::string> rest = words.subspan(2);
    std::optional<EditorRefusal> refusal;
    if (equalsIgnoringAsciiCase(words[0], "/timer")) {
        const std::optional<long long> span = parseCountdownSpan(words[1]);
        if (!span || rest.size() > 1) return usage;
        request.countdownSeconds = *span;
        if (!rest.empty()) request.name = rest[0];
        refusal = checkStorableText(request.name, EditorField::name, codec);
        if (!refusal) refusal = checkCountdown(*span);
    } else if (equalsIgnoringAsciiCase(words[0], "/alarm")) {
        const std::optional<std::array<long long, 3>> time = parseClockTime(words[1]);
        if (!time) return usage;
        request.kind = RemoteKind::alarm;
        request.timeOfDay = *time;
        request.days.fill(true);
        if (const auto days = rest.empty() ? std::nullopt : parseDays(rest[0])) {
            request.days = *days;
            rest = rest.subspan(1);
        }
        if (rest.size() > 2) return usage;
        if (!rest.empty()) request.name = rest[0];
        if (rest.size() > 1) request.file = rest[1];
        // In the order of the editor's fields, as the editor checks them.
        refusal = checkStorableText(request.name, EditorField::name, codec);
        if (!refusal) refusal = checkTimeOfDay((*time)[0], (*time)[1], (*time)[2]);
        if (!refusal) refusal = checkStorableText(request.file, EditorField::file, codec);
    } else {
        return usage;
    }
    if (refusal) return {std::nullopt, std::move(refusal->message)};
    return {std::move(request), {}};
}

RemoteAlarm remoteAlarm(const RemoteRequest& request, const LocalTime& now) {
    RemoteAlarm result;
    AlarmRecord& record = result.record;
    record.name = request.name;
    record.file = request.file;
    if (request.kind == RemoteKind::alarm) {
        record.days = request.days;
        record.hour = static_cast<std::int16_t>(request.timeOfDay[0]);
        record.minute = static_cast<std::int16_t>(request.timeOfDay[1]);
        record.second = static_cast<std::int16_t>(request.timeOfDay[2]);
        return result;
    }
    if (record.name.empty()) record.name = kDefaultTimerName;
    record.days.fill(true);
    record.deleteAfterRun = true;
    const long long seconds = request.countdownSeconds;
    const ExtensionSpan span{static_cast<std::int16_t>(seconds / 3600), static_cast<std::int16_t>(seconds / 60 % 60),
                             static_cast<std::int16_t>(seconds % 60)};
    result.history = TimerHistoryEntry{record.name, zeroPad(span.hours, 2), zeroPad(span.minutes, 2),
                                       zeroPad(span.seconds, 2), record.file, true};
    const LocalTime end = extendedTime(now, span);
    record.hour = static_cast<std::int16_t>(end.hour);
    record.minute = static_cast<std::int16_t>(end.minute);
    record.second = static_cast<std::int16_t>(end.second);
    return result;
}

StartArguments splitStartArguments(std::span<const std::string> arguments) {
    const bool minFirst = !arguments.empty() && arguments[0] == "min";
    const std::span<const std::string> rest = arguments.subspan(minFirst ? 1 : 0);
    if (!rest.empty() && rest[0].starts_with('/')) return {minFirst, {rest.begin(), rest.end()}};
    return {isMinimizedStartArgument(arguments), {}};
}

int exitCodeFor(RemoteAnswer answer) {
    switch (answer) {
    case RemoteAnswer::added:
        return 0;
    case RemoteAnswer::refused:
        return 2;
    case RemoteAnswer::none:
    case RemoteAnswer::noFileOpen:
        break;
    }
    return 1;
}

std::string encodeRemoteRequest(std::span<const std::string> words) {
    std::string bytes;
    for (const std::string& word : words) bytes.append(word).push_back('\0');
    return bytes;
}

std::optional<std::vector<std::string>> decodeRemoteRequest(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > kMaxRemoteRequestBytes || bytes.back() != '\0') return std::nullopt;
    std::vector<std::string> words;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t end = bytes.find('\0', pos);
        words.emplace_back(bytes.substr(pos, end - pos));
        pos = end + 1;
    }
    return words;
}

}  // namespace kolvi
