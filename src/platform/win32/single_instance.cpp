#include "platform/win32/single_instance.h"

#include <windows.h>

#include <cstdint>
#include <cwctype>

namespace kolvi::win32 {

std::wstring SingleInstance::mutexNameFor(const std::wstring& programPath) {
    // File names compare without case on Windows; a backslash may not
    // appear in a kernel object name, so the path is hashed (FNV-1a, 64 bit).
    std::uint64_t hash = 14695981039346656037ULL;
    for (const wchar_t c : programPath) {
        const auto folded = static_cast<std::uint16_t>(std::towupper(static_cast<wint_t>(c)));
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
