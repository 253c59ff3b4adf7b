#pragma once
// Comma-separated fields as the alarm line, the timer history and the
// settings' lists hold them: split at every separator, no quoting, no
// trimming.
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace kolvi {

// The field at index (0-based); "" when the text has fewer fields.
std::string_view fieldAt(std::string_view text, std::size_t index, char separator = ',');

// The first out.size() fields into out, without allocating; returns how many
// were found (fields beyond out.size() are ignored).
std::size_t splitFieldsInto(std::string_view text, std::span<std::string_view> out, char separator = ',');

// Every field; an empty text is one empty field.
std::vector<std::string_view> splitFields(std::string_view text, char separator = ',');

// True when one of the fields of listText equals item exactly (case and
// blanks count). An empty list holds nothing, not even "".
bool fieldListContains(std::string_view listText, std::string_view item, char separator = ',');

}  // namespace kolvi
