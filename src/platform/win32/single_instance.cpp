#include "platform/win32/single_instance.h"

#include <windows.h>

#include <cstdint>

#include "platform/win32/unique_handle.h"

namespace kolvi::win32 {

namespace {

// The program file however its path was spelled: a short name, another case,
// a substituted or mapped drive all lead to the same final path.
std::wstring finalPathOf(const std::wstring& path) {
    const UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return path;
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    if (n == 0 || n >= buffer.size()) return path;
    buffer.resize(n);
    return buffer;
}

// File names compare without case, beyond ASCII too.
std::wstring upperCase(const std::wstring& text) {
    std::wstring upper(text.size(), L'\0');
    const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()),
                                upper.data(), static_cast<int>(upper.size()), nullptr, nullptr, 0);
    return n == static_cast<int>(text.size()) ? upper : text;
}

}  // namespace

std::wstring SingleInstance::mutexNameFor(const std::wstring& programPath) {
    // A backslash may not appear in a kernel object name, so the path is
    // hashed (FNV-1a, 64 bit).
    std::uint64_t hash = 14695981039346656037ULL;
    for (const wchar_t c : upperCase(finalPathOf(programPath))) {
        const auto folded = static_cast<std::uint16_t>(c);
        for (const auto byte : {static_cast<std::uint8_t>(folded & 0xFF), static_cast<std::uint8_t>(folded >> 8)}) {
            hash ^= byte;
            hash *= 1099511628211ULL;
        }
    }
    wchar_t hex[17];
    for (int i = 15; i >= 0; --i) {
        hex[i] = L"0123456789abcdef"[hash & 0xF];
        hash >>= 4;
    }
    hex[16] = L'\0';
    return std::wstring(L"Local\\KolviAlarm-") + hex;
}

SingleInstance::SingleInstance(const std::wstring& programPath) {
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexNameFor(programPath).c_str());
    const DWORD error = GetLastError();
    mutex_.reset(mutex);
    first_ = !(mutex_ && error == ERROR_ALREADY_EXISTS);
}

}  // namespace kolvi::win32
