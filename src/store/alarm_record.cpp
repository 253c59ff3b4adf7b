#include "store/alarm_record.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "text/decimal_text.h"
#include "text/fields.h"

namespace kolvi {

std::optional<AlarmRecord> parseAlarmLine(std::string_view line) {
    // Fields after the fourteenth are dropped.
    std::array<std::string_view, kAlarmFieldCount> fields;
    if (splitFieldsInto(line, fields) < fields.size()) return std::nullopt;

    AlarmRecord record;
    const auto field = [&fields](Field f) { return fields[static_cast<std::size_t>(f)]; };
    record.enabled = textToFlag(field(Field::enabled));
    record.name = toTrimmedText(field(Field::name));
    for (std::size_t day = 0; day < record.days.size(); ++day) {
        record.days[day] = textToFlag(fields[static_cast<std::size_t>(Field::firstDay) + day]);
    }
    record.hour = toInteger(field(Field::hour));
    record.minute = toInteger(field(Field::minute));
    record.second = toInteger(field(Field::second));
    record.file = toTrimmedText(field(Field::file));
    record.deleteAfterRun = textToFlag(field(Field::deleteAfterRun));
    return record;
}

std::string formatAlarmLine(const AlarmRecord& record) {
    const std::string name = toTrimmedText(record.name);
    const std::string file = toTrimmedText(record.file);
    std::string line;
    line.reserve(name.size() + file.size() + 40);

    const auto flag = [&line](bool value) {
        line += value ? '1' : '0';
        line += ',';
    };
    flag(record.enabled);
    line += name;
    line += ',';
    for (bool day : record.days) flag(day);
    for (std::int16_t number : {record.hour, record.minute, record.second}) {
        line += zeroPad(number, 2);
        line += ',';
    }
    line += file;
    line += ',';
    line += record.deleteAfterRun ? '1' : '0';
    return line;
}

std::string_view lineField(std::string_view line, Field field) {
    return fieldAt(line, static_cast<std::size_t>(field));
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

std::string timeOfDayText(long long hour, long long minute, long long second) {
    return zeroPad(hour, 2) + ":" + zeroPad(minute, 2) + ":" + zeroPad(second, 2);
}

}  // namespace kolvi
