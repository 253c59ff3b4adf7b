// Arbitrary bytes as an [alarm] keyN value (an extension span "h:m:s"). The
// reader must agree with a plain reading of that form, and any span it
// accepts, added to any moment of the week, must give a valid clock time that
// lies exactly the span later, modulo a week.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "notify/extension.h"

namespace {

void fail(const char* what) {
    std::fprintf(stderr, "extension span: %s\n", what);
    std::abort();
}

// Blanks, an optional sign, decimal digits, blanks; within -32768..32767.
std::optional<long> plainNumber(std::string_view part) {
    std::size_t i = 0, end = part.size();
    while (i < end && part[i] == ' ') ++i;
    while (end > i && part[end - 1] == ' ') --end;
    const bool negative = i < end && part[i] == '-';
    if (i < end && (part[i] == '-' || part[i] == '+')) ++i;
    if (i == end) return std::nullopt;
    long value = 0;
    for (; i < end; ++i) {
        if (part[i] < '0' || part[i] > '9') return std::nullopt;
        value = value * 10 + (part[i] - '0');
        if (value > 32768) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 32767) return std::nullopt;
    return value;
}

std::optional<kolvi::ExtensionSpan> plainSpan(std::string_view text) {
    long parts[3];
    for (int n = 0; n < 3; ++n) {
        const std::size_t colon = text.find(':');
        if ((n < 2) == (colon == std::string_view::npos)) return std::nullopt;
        const auto value = plainNumber(text.substr(0, colon));
        if (!value) return std::nullopt;
        parts[n] = *value;
        text = n < 2 ? text.substr(colon + 1) : std::string_view();
    }
    return kolvi::ExtensionSpan{static_cast<std::int16_t>(parts[0]), static_cast<std::int16_t>(parts[1]),
                                static_cast<std::int16_t>(parts[2])};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first four bytes choose the moment the span is added to.
    if (size < 4) return 0;
    const kolvi::LocalTime now{data[0] % 7, data[1] % 24, data[2] % 60, data[3] % 60};
    const std::string_view text(reinterpret_cast<const char*>(data) + 4, size - 4);

    const auto span = kolvi::parseExtensionSpan(text);
    if (span != plainSpan(text)) fail("the reader and the plain reading disagree");
    if (!span) return 0;
    const std::string again =
        std::to_string(span->hours) + ":" + std::to_string(span->minutes) + ":" + std::to_string(span->seconds);
    if (kolvi::parseExtensionSpan(again) != span) fail("a span does not read back from its own numbers");

    const kolvi::LocalTime due = kolvi::extendedTime(now, *span);
    if (due.weekday < 0 || due.weekday > 6 || due.hour < 0 || due.hour > 23 || due.minute < 0 || due.minute > 59 ||
        due.second < 0 || due.second > 59) {
        fail("the extended time is not a clock time");
    }
    constexpr long kWeek = 7L * 24 * 3600;
    const auto ofWeek = [](const kolvi::LocalTime& t) { return ((t.weekday * 24L + t.hour) * 60 + t.minute) * 60 + t.second; };
    const long spanSeconds = (span->hours * 60L + span->minutes) * 60 + span->seconds;
    if (((ofWeek(due) - ofWeek(now) - spanSeconds) % kWeek + kWeek) % kWeek != 0) {
        fail("the extended time is not the span later");
    }
    return 0;
}
