#pragma once
// Conversion between the program's UTF-8 text and code page 932, the encoding
// of every file the program reads or writes. Implemented with the platform's
// own converter (Win32 code page 932 on Windows, iconv "CP932" natively).
#include <optional>
#include <string>
#include <string_view>

namespace kolvi {

class TextCodec {
public:
    virtual ~TextCodec() = default;
    // nullopt when the bytes are not valid code page 932.
    virtual std::optional<std::string> decode(std::string_view cp932) const = 0;
    // nullopt when the text holds a character code page 932 cannot represent
    // (never substitute '?'), or is not valid UTF-8.
    virtual std::optional<std::string> encode(std::string_view utf8) const = 0;
};

}  // namespace kolvi
