#pragma once
// Real files for the Win32 and end-to-end tests: a throw-away directory and
// whole-file reads and writes; and a window's text, in this process or another.
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

namespace kolvi::test {

inline bool writeRaw(const std::string& path, const std::string& bytes) {
    const win32::UniqueFile file(CreateFileW(win32::widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

inline std::string windowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return win32::narrow(buffer);
}

// "<missing>" when the file cannot be opened.
inline std::string readRaw(const std::string& path) {
    const win32::UniqueFile file(CreateFileW(win32::widen(path).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return "<missing>";
    std::string bytes;
    char buffer[4096];
    for (DWORD got = 0; ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0;) bytes.append(buffer, got);
    return bytes;
}

// A fresh directory under %TEMP%, removed with its files (read-only ones too).
class TempDir {
public:
    TempDir() { std::filesystem::create_directory(path_); }
    ~TempDir() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path() const { return win32::narrow(path_.wstring()); }
    std::string file(const std::string& name) const { return path() + "\\" + name; }
    // Every entry's name, for checking that nothing was left behind.
    std::string listing() const {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names += win32::narrow(entry.path().filename().wstring()) + ";";
        }
        return names;
    }

private:
    static inline unsigned counter_ = 0;
    std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                  (L"kolvi-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(counter_++));
};

}  // namespace kolvi::test
