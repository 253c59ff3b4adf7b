#pragma once
#include <string>

#include "platform/startup_registry.h"

namespace kolvi::win32 {

// The program's value under HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
class Win32StartupRegistry final : public StartupRegistry {
public:
    std::optional<std::string> readEntry() override;
    std::string writeEntry(const std::string& commandLine) override;
    std::string removeEntry() override;
    std::string programPath() const override;
    std::string finalPath(const std::string& path) const override;
};

}  // namespace kolvi::win32
