#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <string>

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

namespace kolvi::win32 {
namespace {

// Anything larger is not an alarm or settings file; refuse rather than try to
// hold it in memory.
constexpr LONGLONG kMaxFileSize = 512LL * 1024 * 1024;

std::wstring temporaryNameFor(const std::wstring& target) {
    static std::atomic<unsigned> counter{0};
    const auto slash = target.find_last_of(L'\\');
    const std::wstring dir = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    return dir + L"~" + name + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(counter.fetch_add(1)) + L".tmp";
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

bool Win32FileSystem::isOrdinaryFile(const std::string& path) const {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

FileRead Win32FileSystem::readFile(const std::string& path) const {
    if (!isOrdinaryFile(path)) return {ReadStatus::missing, {}};
    UniqueFile file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {ReadStatus::missing, {}};
        return {ReadStatus::unreadable, {}};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxFileSize) return {ReadStatus::unreadable, {}};
    FileRead result{ReadStatus::ok, std::string(static_cast<std::size_t>(size.QuadPart), '\0')};
    std::size_t done = 0;
    while (done < result.bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(result.bytes.size() - done, 1u << 20));
        if (!ReadFile(file.get(), result.bytes.data() + done, want, &got, nullptr)) {
            return {ReadStatus::unreadable, {}};
        }
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    result.bytes.resize(done);
    return result;
}

bool Win32FileSystem::replaceFile(const std::string& path, std::string_view bytes) {
    const std::wstring target = widen(path);
    const std::wstring temp = temporaryNameFor(target);
    {
        UniqueFile file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file) return false;
        if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            file.reset();
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    bool replaced = false;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        replaced = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    } else if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0) {
        // ReplaceFileW keeps the target's attributes and security; where it is
        // not available (some network shares), a plain replacing move does.
        replaced = ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                                nullptr) != 0;
        if (!replaced) {
            replaced = MoveFileExW(temp.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        }
    }
    if (!replaced) DeleteFileW(temp.c_str());
    return replaced;
}

bool Win32FileSystem::appendFile(const std::string& path, std::string_view bytes) {
    // With FILE_APPEND_DATA alone every write goes to the end of the file.
    UniqueFile file(CreateFileW(widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && writeAll(file.get(), bytes);
}

std::string programDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    const auto slash = buffer.find_last_of(L'\\');
    return narrow(slash == std::wstring::npos ? buffer : buffer.substr(0, slash));
}

}  // namespace kolvi::win32
