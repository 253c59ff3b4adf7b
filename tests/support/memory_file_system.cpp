#include "support/memory_file_system.h"

#include "text/ascii.h"

namespace kolvi::test {

std::string MemoryFileSystem::key(const std::string& path) { return toAsciiLower(path); }

bool MemoryFileSystem::isOrdinaryFile(const std::string& path) const {
    return files_.count(key(path)) != 0 && hidden_.count(key(path)) == 0;
}

FileRead MemoryFileSystem::readFile(const std::string& path) const {
    if (!isOrdinaryFile(path)) return {ReadStatus::missing, {}};
    if (unreadable_.count(key(path)) != 0) return {ReadStatus::unreadable, {}};
    return {ReadStatus::ok, files_.at(key(path))};
}

bool MemoryFileSystem::replaceFile(const std::string& path, std::string_view bytes) {
    ++writes_;
    if (failingWrites_ > 0) {
        --failingWrites_;
        return false;
    }
    if (unreadable_.count(key(path)) != 0) return false;
    files_[key(path)] = std::string(bytes);
    return true;
}

std::string MemoryFileSystem::content(const std::string& path) const {
    const auto it = files_.find(key(path));
    return it == files_.end() ? std::string() : it->second;
}

}  // namespace kolvi::test
