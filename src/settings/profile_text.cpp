#include "settings/profile_text.h"

#include <limits>

#include "text/ascii.h"

namespace kolvi::profile {
namespace {

// Everything from a NUL on is invisible, as the platform hands names and
// values around as C strings.
std::string_view beforeNul(std::string_view text) {
    const std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

std::string cleanName(std::string_view text) { return std::string(trimBlanks(beforeNul(text))); }

}  // namespace

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view trimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// Bytes of UTF-8 sequences are all >= 0x80, so folding ASCII letters one byte
// at a time never touches a Japanese character.
bool namesMatch(std::string_view a, std::string_view b) { return equalsIgnoringAsciiCase(a, b); }

ParsedLine parseLine(std::string_view text) {
    ParsedLine line;
    const std::string_view trimmed = trimBlanks(withoutTerminator(text));
    if (trimmed.empty()) return line;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::section;
            line.name = cleanName(trimmed.substr(1, close - 1));
            return line;
        }
    }
    line.kind = LineKind::key;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        line.name = cleanName(trimmed);
    } else {
        line.name = cleanName(trimmed.substr(0, equals));
        line.value = cleanName(trimmed.substr(equals + 1));
    }
    return line;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(text.substr(start, i + 1 - start));
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string_view withoutTerminator(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

int leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude as far as one past INT_MAX, which is enough to
    // saturate either way and cannot overflow.
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) magnitude = kLimit;
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(signedValue);  // -kLimit is exactly INT_MIN
}

KeyPlace findKey(const std::vector<ParsedLine>& lines, std::string_view section, std::string_view key) {
    const std::string_view wantedSection = trimBlanks(section);
    const std::string_view wantedKey = trimBlanks(key);
    KeyPlace place;
    // The unnamed section runs from the top of the file to the first header.
    bool inSection = wantedSection.empty();
    place.sectionFound = inSection;
    std::size_t lastContent = 0;  // line after the section's last non-blank line
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine& line = lines[i];
        if (line.kind == LineKind::section) {
            if (inSection) break;
            // A "[]" header is never the unnamed section.
            if (!line.name.empty() && namesMatch(line.name, wantedSection)) {
                inSection = true;
                place.sectionFound = true;
                lastContent = i + 1;
            }
            continue;
        }
        if (!inSection || line.kind == LineKind::blank) continue;
        lastContent = i + 1;
        if (namesMatch(line.name, wantedKey)) {
            place.keyLine = i;
            return place;
        }
    }
    place.insertAt = place.sectionFound ? lastContent : lines.size();
    return place;
}

}  // namespace kolvi::profile
