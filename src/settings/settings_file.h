#pragma once
// The settings file kolvialarm.ini, with the semantics of Windows' private
// profile functions: sections and keys are found case-insensitively, the first
// occurrence wins, values are trimmed, missing file/section/key gives the
// default, and writing changes only the one line (creating file, section or
// key as needed). Code page 932 with CR LF on disk. The file is read afresh
// at every call, as a hand edit must take effect without a restart; a
// ReadBatch gathers a burst of reads into one reading.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace kolvi {

class SettingsFile {
public:
    SettingsFile(FileSystem& fs, const TextCodec& codec, std::string path);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // While a batch is alive, reads are answered from one reading of the file,
    // taken at the first of them, instead of opening and parsing it for each
    // key (the start reads a few dozen). A write through this object is seen
    // by the reads after it; a hand edit made during the batch, at the next
    // read after the batch.
    class ReadBatch {
    public:
        explicit ReadBatch(const SettingsFile& settings);
        ~ReadBatch();
        ReadBatch(const ReadBatch&) = delete;
        ReadBatch& operator=(const ReadBatch&) = delete;

    private:
        const SettingsFile& settings_;
    };

    const std::string& path() const { return path_; }

    // At most maxBytes bytes of the code-page-932 value are returned, never
    // splitting a character.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t maxBytes = 254) const;
    // The whole decimal number the value begins with; a value beginning with
    // neither a digit nor a sign reads as 0; missing or empty gives the default.
    // Numbers beyond the range of int read as INT_MAX or INT_MIN.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    // A 0/1 key, as the program writes it: only the number 1 is on.
    bool readFlag(std::string_view section, std::string_view key, bool defaultValue) const {
        return readInt(section, key, defaultValue ? 1 : 0) == 1;
    }

    // False when the file could not be written (the caller may ignore it).
    // Also false, with the file untouched, when the file exists but cannot be
    // read, or when the text would not read back: a character code page 932
    // cannot hold, a line break or NUL, or a key with '=' or beginning with
    // '['. Lines that are not valid code page 932 are kept byte for byte.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInt(std::string_view section, std::string_view key, long long value);

private:
    struct Snapshot;
    std::shared_ptr<const Snapshot> snapshot() const;
    std::optional<std::string> lookUp(std::string_view section, std::string_view key) const;

    FileSystem& fs_;
    const TextCodec& codec_;
    std::string path_;
    mutable int batches_ = 0;
    mutable std::shared_ptr<const Snapshot> held_;  // while batched, once read
};

}  // namespace kolvi
