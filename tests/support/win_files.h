#pragma once
// Real files for the Win32 and end-to-end tests: a throw-away directory and
// whole-file reads and writes.
#include <windows.h>

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

// "<missing>" when the file cannot be opened.
inline std::string readRaw(const std::string& path) {
    const win32::UniqueFile file(CreateFileW(win32::widen(path).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

// A fresh directory under %TEMP%, removed with its files.
class TempDir {
public:
    TempDir() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        static unsigned counter = 0;
        path_ = std::wstring(base) + L"kolvi-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(counter++);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempDir() { removeTree(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& wpath() const { return path_; }
    std::string path() const { return win32::narrow(path_); }
    std::string file(const std::string& name) const { return path() + "\\" + name; }

    // Every entry's name, for checking that nothing was left behind.
    std::string listing() const {
        std::string names;
        forEach(path_, [&](const WIN32_FIND_DATAW& data) { names += win32::narrow(data.cFileName) + ";"; });
        return names;
    }

private:
    template <typename Visit>
    static void forEach(const std::wstring& dir, Visit visit) {
        WIN32_FIND_DATAW data;
        const HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") visit(data);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    static void removeTree(const std::wstring& dir) {
        forEach(dir, [&](const WIN32_FIND_DATAW& data) {
            const std::wstring full = dir + L"\\" + data.cFileName;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                removeTree(full);
            } else {
                DeleteFileW(full.c_str());
            }
        });
        RemoveDirectoryW(dir.c_str());
    }
    std::wstring path_;
};

}  // namespace kolvi::test
