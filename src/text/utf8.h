#pragma once
// UTF-8, the program's inner text. "Character" here always means a code
// point of the decoded text, never a byte.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kolvi::utf8 {

constexpr bool isContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Bytes of the character that starts with this byte; a byte that cannot
// start one (a stray continuation, 0xC0, 0xC1, 0xF5 and above) counts as one,
// so that a walk over damaged text still moves on.
std::size_t sequenceLength(char lead);

// One code point from text[pos], advancing pos past it; nullopt (pos
// unchanged) for bytes that are not well-formed UTF-8, overlong forms and
// surrogates included. pos must be inside the text.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos);

// Where the last `count` characters of the text begin.
std::size_t lastCharactersStart(std::string_view text, std::size_t count);

// The character that starts at text[pos] (sequenceLength bytes, cut at the
// end of the text).
std::string_view characterAt(std::string_view text, std::size_t pos);

void append(std::string& text, char32_t codePoint);

// UTF-16 units the character needs: 2 beyond U+FFFF, else 1.
constexpr std::size_t utf16Units(std::string_view character) { return character.size() == 4 ? 2 : 1; }

}  // namespace kolvi::utf8
