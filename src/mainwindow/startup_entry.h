#pragma once
// "Start with Windows": the program's entry in the user's Run key, ticked
// only when it starts this very program file.
#include <string>
#include <string_view>

#include "platform/startup_registry.h"

namespace kolvi {

// The entry's command line: the quoted full path, then "min" (start in the
// notification area).
std::string startupCommandLine(std::string_view programPath);
// The program a command line starts: the quoted part, or up to the first
// space when it is not quoted.
std::string_view commandLineProgram(std::string_view commandLine);
// Two final paths name the same file: "\\?\" prefixes dropped, letters
// compared without case.
bool sameFinalPath(std::string_view a, std::string_view b);

class StartWithWindows {
public:
    explicit StartWithWindows(StartupRegistry* registry) : registry_(registry) {}
    // Reads the entry again (it may have been removed elsewhere): ticked when
    // it starts this program file.
    bool refresh();
    bool ticked() const { return ticked_; }
    // Ticks (writes this program's entry, replacing another copy's) or
    // unticks (removes it). "" when done, else the system's reason.
    std::string toggle();
    bool available() const { return registry_ != nullptr; }

private:
    StartupRegistry* registry_;
    bool ticked_ = false;
};

}  // namespace kolvi
