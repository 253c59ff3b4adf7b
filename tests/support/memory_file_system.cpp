#include "support/memory_file_system.h"

#include <cctype>
#include <string_view>

namespace kolvi::test {

std::string MemoryFileSystem::key(const std::string& path) {
    std::string k = path;
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

bool MemoryFileSystem::isOrdinaryFile(const std::string& path) const {
    const std::string k = key(path);
    return files_.count(k) != 0 && hidden_.count(k) == 0 && directories_.count(k) == 0;
}

FileRead MemoryFileSystem::readFile(const std::string& path) const {
    const std::string k = key(path);
    // Hidden files are read like any other; only the alarm file's opening
    // asks isOrdinaryFile.
    if (files_.count(k) == 0 || directories_.count(k) != 0) return {ReadStatus::missing, {}};
    if (unreadable_.count(k) != 0) return {ReadStatus::unreadable, {}};
    return {ReadStatus::ok, files_.at(k)};
}

bool MemoryFileSystem::writable(const std::string& k) {
    ++writes_;
    if (failingWrites_ > 0) {
        --failingWrites_;
        return false;
    }
    return directories_.count(k) == 0 && unreadable_.count(k) == 0;
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

void MemoryFileSystem::put(const std::string& path, std::string bytes) { files_[key(path)] = std::move(bytes); }
bool MemoryFileSystem::exists(const std::string& path) const { return files_.count(key(path)) != 0; }
std::string MemoryFileSystem::content(const std::string& path) const {
    auto it = files_.find(key(path));
    return it == files_.end() ? std::string() : it->second;
}
void MemoryFileSystem::addDirectory(const std::string& path) { directories_.insert(key(path)); }
void MemoryFileSystem::markHidden(const std::string& path) { hidden_.insert(key(path)); }
void MemoryFileSystem::markUnreadable(const std::string& path) { unreadable_.insert(key(path)); }

}  // namespace kolvi::test
