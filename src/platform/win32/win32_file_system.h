#pragma once
// Real files. Writes go to a temporary file in the target's directory, are
// flushed, and then replace the target, so a crash never leaves a half file.
#include <string>

#include "platform/file_system.h"

namespace kolvi::win32 {

class Win32FileSystem final : public FileSystem {
public:
    bool isOrdinaryFile(const std::string& path) const override;
    bool isFile(const std::string& path) const override;
    FileRead readFile(const std::string& path) const override;
    bool replaceFile(const std::string& path, std::string_view bytes) override;
    bool appendFile(const std::string& path, std::string_view bytes) override;
    std::string lastWriteError() const override;

private:
    bool replace(const std::string& path, std::string_view bytes);
    unsigned long lastError_ = 0;
};

// The running program file, and its directory without a trailing backslash.
std::wstring programPath();
std::string programDirectory();

}  // namespace kolvi::win32
