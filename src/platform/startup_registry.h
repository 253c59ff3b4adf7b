#pragma once
// The user's list of programs Windows starts at sign-in, as far as this
// program's own entry goes.
#include <optional>
#include <string>

namespace kolvi {

class StartupRegistry {
public:
    virtual ~StartupRegistry() = default;
    // The command line of the program's entry; nullopt when there is none.
    virtual std::optional<std::string> readEntry() = 0;
    // Write or remove the entry: "" when done, else the system's reason.
    virtual std::string writeEntry(const std::string& commandLine) = 0;
    virtual std::string removeEntry() = 0;
    // The full path of the running program file.
    virtual std::string programPath() const = 0;
    // The path with links, short names and relative parts resolved, as the
    // file system names the file; the path itself when it cannot be opened.
    virtual std::string finalPath(const std::string& path) const = 0;
};

}  // namespace kolvi
