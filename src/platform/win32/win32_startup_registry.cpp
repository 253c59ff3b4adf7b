#include "platform/win32/win32_startup_registry.h"

#include <windows.h>

#include <cwchar>

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_file_system.h"
#include "texts/audio_texts.h"

namespace kolvi::win32 {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring entryName() { return widen(kStartupEntryName); }

}  // namespace

std::optional<std::string> Win32StartupRegistry::readEntry() {
    const std::wstring name = entryName();
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return narrow(value);
}

std::string Win32StartupRegistry::writeEntry(const std::string& commandLine) {
    const std::wstring value = widen(commandLine);
    const LSTATUS status =
        RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, entryName().c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    return status == ERROR_SUCCESS ? std::string() : systemErrorText(static_cast<DWORD>(status));
}

std::string Win32StartupRegistry::removeEntry() {
    const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, entryName().c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? std::string()
                                                                     : systemErrorText(static_cast<DWORD>(status));
}

std::string Win32StartupRegistry::programPath() const { return narrow(win32::programPath()); }

std::string Win32StartupRegistry::finalPath(const std::string& path) const {
    const UniqueFile file(CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return path;
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return path;
        if (n < buffer.size()) {
            buffer.resize(n);
            return narrow(buffer);
        }
        buffer.resize(n + 1);
    }
}

}  // namespace kolvi::win32
