#pragma once
// Code page 932 through the system's own converter.
#include "platform/text_codec.h"

namespace kolvi::win32 {

class Win32Codec final : public TextCodec {
public:
    std::optional<std::string> decode(std::string_view cp932) const override;
    std::optional<std::string> encode(std::string_view utf8) const override;
};

}  // namespace kolvi::win32
