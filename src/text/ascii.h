#pragma once
// ASCII case folding. UTF-8 and code page 932 lead bytes are all >= 0x80, so
// folding one byte at a time never touches a Japanese character; code page
// 932 trail bytes can be letters, which is why folding works on decoded text.
#include <cstddef>
#include <string>
#include <string_view>

namespace kolvi {

constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string toAsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = asciiLower(c);
    return lower;
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

}  // namespace kolvi
