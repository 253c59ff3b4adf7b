#include "platform/posix/iconv_codec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace kolvi {
namespace {

// One conversion, all or nothing: any invalid or unrepresentable sequence
// fails the whole text instead of being replaced.
std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv cannot convert between CP932 and UTF-8");
    }
    std::string out(in.size() * 3 / 2 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::size_t used = 0;
    std::optional<std::string> result;
    for (;;) {
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        used = out.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            // iconv counts irreversible conversions in rc: treat them as failures too.
            if (rc == 0) {
                out.resize(used);
                result = std::move(out);
            }
            break;
        }
        if (errno != E2BIG) break;
        out.resize(out.size() * 2);
    }
    iconv_close(cd);
    return result;
}

}  // namespace

std::optional<std::string> IconvCodec::decode(std::string_view cp932) const {
    return convert("UTF-8", "CP932", cp932);
}

std::optional<std::string> IconvCodec::encode(std::string_view utf8) const {
    return convert("CP932", "UTF-8", utf8);
}

}  // namespace kolvi
