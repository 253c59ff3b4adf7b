#pragma once
// The INI layout on decoded (UTF-8) text, free of files and code pages, so
// that the rules can be tested and fuzzed on their own. The rules are those
// of Windows' private-profile functions:
//  - a line ends at CR LF, a lone CR or a lone LF;
//  - a line whose trimmed text starts with '[' and has a ']' later is a section
//    header; the name lies between the '[' and the last ']';
//  - a line with only blanks is nothing;
//  - any other line is a key line: the name is the text before the first '=',
//    the value the text after it. A line without '=' is a key without a value
//    (it still hides a later line with the same name). There are no comment
//    lines: "; note" is a key named "; note";
//  - lines before the first header belong to the unnamed section, which only
//    the name "" finds; a "[]" header starts a section that nothing finds;
//  - names and values are trimmed of blanks (space, tab, VT, FF, ^Z; not the
//    full-width space) and end at a NUL, as in a C string;
//  - names match case-insensitively in ASCII only; the first matching section
//    wins, and within it the first matching key.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvi::profile {

enum class LineKind { blank, section, key };

struct ParsedLine {
    LineKind kind = LineKind::blank;
    std::string name;                  // section or key name, trimmed
    std::optional<std::string> value;  // key lines with '=': the trimmed value
};

// One line, with or without its terminator.
ParsedLine parseLine(std::string_view text);

// The lines of a text, each with its terminator (CR LF, CR or LF). The text
// after the last terminator is a line only when it is not empty. Works alike
// on code-page-932 bytes, where CR and LF are never part of a character.
std::vector<std::string_view> splitLines(std::string_view text);
std::string_view withoutTerminator(std::string_view line);

bool isBlank(char c);
std::string_view trimBlanks(std::string_view text);
bool namesMatch(std::string_view a, std::string_view b);

// Matching single or double quotes around the whole value are dropped.
std::string_view unquote(std::string_view value);

// The decimal number the text begins with (after blanks, one optional sign);
// 0 when there are no digits; beyond the range of int, the nearest int.
int leadingInteger(std::string_view text);

struct KeyPlace {
    bool sectionFound = false;
    std::optional<std::size_t> keyLine;  // the first matching key line
    // Where a new key line goes when there is none: after the section's last
    // non-blank line, so that blank lines stay between it and the next header.
    // lines.size() when the section itself is missing.
    std::size_t insertAt = 0;
};

// Queries are trimmed like the names in the file.
KeyPlace findKey(const std::vector<ParsedLine>& lines, std::string_view section, std::string_view key);

}  // namespace kolvi::profile
