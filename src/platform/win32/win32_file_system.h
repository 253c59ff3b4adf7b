#pragma once
// Real files. Writes go to a temporary file in the target's directory, are
// flushed, and then replace the target, so a crash never leaves a half file.
#include "platform/file_system.h"

namespace kolvi::win32 {

class Win32FileSystem final : public FileSystem {
public:
    bool isOrdinaryFile(const std::string& path) const override;
    FileRead readFile(const std::string& path) const override;
    bool replaceFile(const std::string& path, std::string_view bytes) override;
    bool appendFile(const std::string& path, std::string_view bytes) override;
};

// The directory of the running program file, without a trailing backslash.
std::string programDirectory();

}  // namespace kolvi::win32
