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

// "~name." then the process id, the time and a counter, then ".tmp". Process
// ids are reused (under Wine the same few come back run after run), so the
// time keeps a killed run's leftovers from ever meeting a new name, and a
// name that exists all the same is skipped.
std::wstring temporaryNameFor(const std::wstring& directory, const std::wstring& name, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return directory + L"~" + name + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(now.QuadPart) + L"." + std::to_wstring(counter.fetch_add(1) + attempt) + L".tmp";
}

// Temporary files of this target that a killed run left behind.
void removeLeftovers(const std::wstring& directory, const std::wstring& name) {
    WIN32_FIND_DATAW found{};
    const UniqueFind find(FindFirstFileW((directory + L"~" + name + L".*.tmp").c_str(), &found));
    if (!find) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) DeleteFileW((directory + found.cFileName).c_str());
    } while (FindNextFileW(find.get(), &found));
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

bool Win32FileSystem::isFile(const std::string& path) const {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FileRead Win32FileSystem::readFile(const std::string& path) const {
    // Hidden and system files are read like any other; only the alarm file's
    // opening asks isOrdinaryFile first.
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {ReadStatus::missing, {}};
    }
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

// The new content goes to a temporary file beside the target, is flushed, and
// then takes the target's name in one rename: at every moment the target is
// either the complete old file or the complete new one, and never absent.
// The temporary file is made with the target's attributes, so a hidden
// settings file stays hidden; a read-only target is refused, as the user
// asked for it not to change.
bool Win32FileSystem::replaceFile(const std::string& path, std::string_view bytes) {
    const bool done = replace(path, bytes);
    lastError_ = done ? 0 : GetLastError();
    return done;
}

std::string Win32FileSystem::lastWriteError() const { return lastError_ == 0 ? std::string() : systemErrorText(lastError_); }

bool Win32FileSystem::replace(const std::string& path, std::string_view bytes) {
    const std::wstring target = widen(path);
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const DWORD attributes = existing == INVALID_FILE_ATTRIBUTES
                                 ? FILE_ATTRIBUTE_NORMAL
                                 : (existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    const auto slash = target.find_last_of(L'\\');
    const std::wstring directory = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);

    std::wstring temp;
    UniqueFile file;
    for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = temporaryNameFor(directory, name, attempt);
        file.reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    if (!file) return false;
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
        const DWORD error = GetLastError();
        file.reset();
        DeleteFileW(temp.c_str());
        SetLastError(error);
        return false;
    }
    file.reset();
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        SetLastError(error);
        return false;
    }
    removeLeftovers(directory, name);
    return true;
}

bool Win32FileSystem::appendFile(const std::string& path, std::string_view bytes) {
    // With FILE_APPEND_DATA alone every write goes to the end of the file.
    UniqueFile file(CreateFileW(widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && writeAll(file.get(), bytes);
}

std::wstring programPath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string programDirectory() {
    const std::wstring path = programPath();
    const auto slash = path.find_last_of(L'\\');
    return narrow(slash == std::wstring::npos ? path : path.substr(0, slash));
}

}  // namespace kolvi::win32
