#include "platform/win32/win32_codec.h"

#include <windows.h>

#include "platform/win32/text.h"

namespace kolvi::win32 {
namespace {
constexpr UINT kCp932 = 932;
}

std::optional<std::string> Win32Codec::decode(std::string_view cp932) const {
    if (cp932.empty()) return std::string();
    const int size = static_cast<int>(cp932.size());
    const int n = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, cp932.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    if (MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, cp932.data(), size, wide.data(), n) != n) {
        return std::nullopt;
    }
    return narrow(wide);
}

std::optional<std::string> Win32Codec::encode(std::string_view utf8) const {
    if (utf8.empty()) return std::string();
    const int size = static_cast<int>(utf8.size());
    const int wn = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (wn <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wn), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), wn);
    // WC_NO_BEST_FIT_CHARS: a character 932 cannot hold must fail, not turn
    // into a look-alike or '?'.
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), wn, nullptr, 0, nullptr,
                                      &usedDefault);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), wn, out.data(), n, nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    return out;
}

}  // namespace kolvi::win32
