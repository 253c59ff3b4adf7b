#pragma once
// One alarm and its comma-separated line form.
#include <array>
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

}  // namespace kolvi
