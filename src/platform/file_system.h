#pragma once
// The file operations the program needs, behind an interface so that the
// alarm file and settings logic can run natively on an in-memory file system.
// Paths are UTF-8 text in Windows form ("C:\prog\list.alm").
#include <string>
#include <string_view>

namespace kolvi {

enum class ReadStatus {
    ok,
    missing,     // nothing there, or a directory
    unreadable,  // exists but cannot be read (locked, no permission)
};

struct FileRead {
    ReadStatus status = ReadStatus::missing;
    std::string bytes;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True for an existing ordinary file. A directory, or a file marked
    // hidden or system, counts as missing.
    virtual bool isOrdinaryFile(const std::string& path) const = 0;
    // True for an existing file whatever its attributes (a hidden sound file
    // still plays); false for a directory or nothing.
    virtual bool isFile(const std::string& path) const = 0;

    // Hidden and system files are read like any other.
    virtual FileRead readFile(const std::string& path) const = 0;

    // Writes the whole content or nothing: a temporary file in the same
    // directory is written and flushed, then it takes the target's name in one
    // step, keeping the target's attributes; the target is never absent. A
    // read-only target is refused. When this returns false the old file (if
    // any) is unchanged.
    virtual bool replaceFile(const std::string& path, std::string_view bytes) = 0;

    // Adds the bytes at the end of the file, creating it when missing. False
    // when it cannot be opened or written.
    virtual bool appendFile(const std::string& path, std::string_view bytes) = 0;

    // Why the last write failed, in the system's own words and language
    // ("" when there is nothing to say).
    virtual std::string lastWriteError() const { return {}; }
};

}  // namespace kolvi
