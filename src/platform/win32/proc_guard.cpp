#include "platform/win32/proc_guard.h"

#include <windows.h>

#include <string>

#include "texts/common_texts.h"

namespace kolvi::win32 {
namespace {

// Written without the program's own helpers, which may allocate and throw.
std::wstring widenQuietly(std::string_view utf8) noexcept {
    try {
        const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring out(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
        return out;
    } catch (...) {
        return {};
    }
}

}  // namespace

void reportUnexpectedError(const char* what) noexcept {
    std::wstring text = widenQuietly(kUnexpectedError);
    try {
        text += L"\r\n";
        text += widenQuietly(what != nullptr ? what : "");
    } catch (...) {
        // Out of memory: the first line alone still says something.
    }
    const std::wstring title = widenQuietly(kProgramTitle);
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace kolvi::win32
