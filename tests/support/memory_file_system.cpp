#include "support/memory_file_system.h"

#include "text/ascii.h"

namespace kolvi::test {

std::string MemoryFileSystem::key(const std::string& path) { return toAsciiLower(path); }

bool MemoryFileSystem::isOrdinaryFile(const std::string& path) const {
    return files_.count(key(path)) != 0 && hidden_.count(key(path)) == 0;
}

// Hidden files are read like any other; only the alarm file's opening asks
// isOrdinaryFile.
FileRead MemoryFileSystem::readFile(const std::string& path) const {
    const std::string k = key(path);
    if (files_.count(k) == 0) return {ReadStatus::missing, {}};
    if (unreadable_.count(k) != 0) return {ReadStatus::unreadable, {}};
    return {ReadStatus::ok, files_.at(k)};
}

bool MemoryFileSystem::writable(const std::string& k) {
    ++writes_;
    if (failingWrites_ > 0) {
        --failingWrites_;
        return false;
    }
    return unreadable_.count(k) == 0;
}

bool MemoryFileSystem::replaceFile(const std::string& path, std::string_view bytes) {
    const std::string k = key(path);
    if (!writable(k)) return false;
    files_[k] = std::string(bytes);
    return true;
}

bool MemoryFileSystem::appendFile(const std::string& path, std::string_view bytes) {
    const std::string k = key(path);
    if (!writable(k)) return false;
    files_[k].append(bytes);
    return true;
}

std::string MemoryFileSystem::content(const std::string& path) const {
    const auto it = files_.find(key(path));
    return it == files_.end() ? std::string() : it->second;
}

}  // namespace kolvi::test
