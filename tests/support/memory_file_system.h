#pragma once
// An in-memory file system keyed by Windows paths, for native tests.
#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace kolvi::test {

class MemoryFileSystem final : public FileSystem {
public:
    bool isOrdinaryFile(const std::string& path) const override;
    FileRead readFile(const std::string& path) const override;
    bool replaceFile(const std::string& path, std::string_view bytes) override;
    bool appendFile(const std::string& path, std::string_view bytes) override;

    // Test set-up and inspection. Paths compare case-insensitively (ASCII),
    // as on Windows; a missing file's content is "".
    void put(const std::string& path, std::string bytes) { files_[key(path)] = std::move(bytes); }
    std::string content(const std::string& path) const;
    void markHidden(const std::string& path) { hidden_.insert(key(path)); }          // not an ordinary file, still read
    void markUnreadable(const std::string& path) { unreadable_.insert(key(path)); }  // locked: no reading or writing
    // The next n writes (replacing or appending) fail (the target is left untouched).
    void failWrites(int n) { failingWrites_ = n; }
    int writeCount() const { return writes_; }

private:
    static std::string key(const std::string& path);
    // Counts a write; false when it is to fail.
    bool writable(const std::string& k);
    std::map<std::string, std::string> files_;
    std::set<std::string> hidden_, unreadable_;
    int failingWrites_ = 0;
    int writes_ = 0;
};

}  // namespace kolvi::test
