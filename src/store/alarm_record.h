#pragma once
// One alarm and its comma-separated line form.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kolvi {

struct AlarmRecord {
    bool enabled = true;
    std::string name;
    std::array<bool, 7> days{};  // Sunday first
    std::int16_t hour = 0;
    std::int16_t minute = 0;
    std::int16_t second = 0;
    std::string file;
    bool deleteAfterRun = false;

    friend bool operator==(const AlarmRecord&, const AlarmRecord&) = default;
};

inline constexpr int kAlarmFieldCount = 14;

// Field positions in the alarm line; the seven weekday flags follow firstDay,
// Sunday first.
enum class Field : std::size_t {
    enabled = 0,
    name = 1,
    firstDay = 2,
    hour = 9,
    minute = 10,
    second = 11,
    file = 12,
    deleteAfterRun = 13,
};

// One field of a stored line read as the firing code reads it: split at every
// ",", not trimmed; "" when the line has fewer fields.
std::string_view lineField(std::string_view line, Field field);
inline constexpr std::string_view kDefaultAlarmLine = "1,,0,0,0,0,0,0,0,00,00,00,,0";

// nullopt when the line does not yield a record (fewer than fourteen fields).
std::optional<AlarmRecord> parseAlarmLine(std::string_view line);
std::string formatAlarmLine(const AlarmRecord& record);

bool textToFlag(std::string_view text);
int flagToNumber(bool flag);
// Rounds half to even; text that is not a number, or a number outside the
// 16-bit range, gives 0.
std::int16_t toInteger(std::string_view text);
std::string toTrimmedText(std::string_view text);
std::string toTrimmedText(long long value);
std::string zeroPad(long long value, int width);

// "HH:MM:SS", each number with at least two digits. The time column and the
// clock are both written by this one function: an alarm fires when the two
// texts are equal, so they must never be formatted two ways.
std::string timeOfDayText(long long hour, long long minute, long long second);

}  // namespace kolvi
