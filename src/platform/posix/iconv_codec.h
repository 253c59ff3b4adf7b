#pragma once
// Code page 932 through iconv, for the native build (tests, benchmarks, fuzzers).
#include "platform/text_codec.h"

namespace kolvi {

class IconvCodec final : public TextCodec {
public:
    std::optional<std::string> decode(std::string_view cp932) const override;
    std::optional<std::string> encode(std::string_view utf8) const override;
};

}  // namespace kolvi
