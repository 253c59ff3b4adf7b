#include "store/alarm_record.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "store/decimal_text.h"

namespace kolvi {
namespace {

constexpr char kSeparator = ',';

// Splits at every comma; there is no quoting or escaping in an alarm line.
// Stops after as many fields as there is room for (the rest is ignored).
std::size_t splitFields(std::string_view line, std::array<std::string_view, kAlarmFieldCount>& fields) {
    std::size_t count = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size() && count + 1 < fields.size(); ++i) {
        if (line[i] == kSeparator) {
            fields[count++] = line.substr(start, i - start);
            start = i + 1;
        }
    }
    // The last field runs to the next comma or the end of the line.
    const std::string_view rest = line.substr(start);
    fields[count++] = rest.substr(0, rest.find(kSeparator));
    return count;
}

}  // namespace

std::optional<AlarmRecord> parseAlarmLine(std::string_view line) {
    std::array<std::string_view, kAlarmFieldCount> fields;
    if (splitFields(line, fields) < fields.size()) return std::nullopt;

    AlarmRecord record;
    record.enabled = textToFlag(fields[0]);
    record.name = toTrimmedText(fields[1]);
    for (std::size_t day = 0; day < record.days.size(); ++day) {
        record.days[day] = textToFlag(fields[2 + day]);
    }
    record.hour = toInteger(fields[9]);
    record.minute = toInteger(fields[10]);
    record.second = toInteger(fields[11]);
    record.file = toTrimmedText(fields[12]);
    record.deleteAfterRun = textToFlag(fields[13]);
    return record;
}

std::string formatAlarmLine(const AlarmRecord& record) {
    const std::string name = toTrimmedText(record.name);
    const std::string file = toTrimmedText(record.file);
    std::string line;
    line.reserve(name.size() + file.size() + 40);

    const auto flag = [&line](bool value) {
        line += value ? '1' : '0';
        line += kSeparator;
    };
    flag(record.enabled);
    line += name;
    line += kSeparator;
    for (bool day : record.days) flag(day);
    for (std::int16_t number : {record.hour, record.minute, record.second}) {
        line += zeroPad(number, 2);
        line += kSeparator;
    }
    line += file;
    line += kSeparator;
    line += record.deleteAfterRun ? '1' : '0';
    return line;
}

bool textToFlag(std::string_view text) { return toInteger(text) == 1; }

int flagToNumber(bool flag) { return flag ? 1 : 0; }

std::int16_t toInteger(std::string_view text) {
    // Almost every field the program wrote itself is a few plain digits.
    if (!text.empty() && text.size() <= 4 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int value = 0;
        for (char c : text) value = value * 10 + (c - '0');
        return static_cast<std::int16_t>(value);
    }
    const std::optional<DecimalText> number = parseDecimalText(text);
    if (!number) return 0;
    const std::optional<long long> rounded = roundHalfToEven(*number, std::numeric_limits<std::int16_t>::max() + 1LL);
    if (!rounded || *rounded < std::numeric_limits<std::int16_t>::min() ||
        *rounded > std::numeric_limits<std::int16_t>::max()) {
        return 0;
    }
    return static_cast<std::int16_t>(*rounded);
}

std::string toTrimmedText(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string toTrimmedText(long long value) { return std::to_string(value); }

std::string zeroPad(long long value, int width) {
    // The magnitude as unsigned, so that the most negative value has one too.
    const bool negative = value < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    if (width > 0 && digits.size() < static_cast<std::size_t>(width)) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    if (negative) digits.insert(0, 1, '-');
    return digits;
}

}  // namespace kolvi
