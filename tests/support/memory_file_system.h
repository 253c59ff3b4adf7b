#pragma once
// An in-memory file system keyed by Windows paths, for native tests and
// benchmarks. Paths compare case-insensitively (ASCII), as on Windows.
#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/iconv_codec.h"
#include "settings/settings_file.h"
#include "text/ascii.h"

namespace kolvi::test {

class MemoryFileSystem final : public FileSystem {
public:
    // A hidden file is read like any other; only the alarm file's opening asks.
    bool isOrdinaryFile(const std::string& path) const override {
        return files_.count(key(path)) != 0 && hidden_.count(key(path)) == 0;
    }
    bool isFile(const std::string& path) const override { return files_.count(key(path)) != 0; }
    FileRead readFile(const std::string& path) const override {
        if (files_.count(key(path)) == 0) return {ReadStatus::missing, {}};
        if (locked_.count(key(path)) != 0) return {ReadStatus::unreadable, {}};
        return {ReadStatus::ok, files_.at(key(path))};
    }
    bool replaceFile(const std::string& path, std::string_view bytes) override { return write(path, bytes, false); }
    bool appendFile(const std::string& path, std::string_view bytes) override { return write(path, bytes, true); }

    void put(const std::string& path, std::string bytes) { files_[key(path)] = std::move(bytes); }
    // "" for a missing file.
    std::string content(const std::string& path) const { return files_.count(key(path)) ? files_.at(key(path)) : ""; }
    void markHidden(const std::string& path) { hidden_.insert(key(path)); }
    void markUnreadable(const std::string& path) { locked_.insert(key(path)); }  // locked: no reading or writing
    // The next n writes (replacing or appending) fail.
    void failWrites(int n) { failingWrites_ = n; }
    int writeCount() const { return writes_; }  // every write asked for, failed or not

private:
    static std::string key(const std::string& path) { return toAsciiLower(path); }
    // Counts every write asked for; the failing ones leave the target untouched.
    bool write(const std::string& path, std::string_view bytes, bool append) {
        const bool fails = failingWrites_ > 0 || locked_.count(key(path)) != 0;
        ++writes_;
        if (failingWrites_ > 0) --failingWrites_;
        if (!fails) files_[key(path)] = (append ? content(path) : "") + std::string(bytes);
        return !fails;
    }
    std::map<std::string, std::string> files_;
    std::set<std::string> hidden_, locked_;
    int failingWrites_ = 0, writes_ = 0;
};

// What a test of the program's files starts from: an empty file system, the
// code page 932 converter, and the settings file beside the program.
struct ProgramFiles {
    MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, "C:\\prog\\kolvialarm.ini"};
};

}  // namespace kolvi::test
