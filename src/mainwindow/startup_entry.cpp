#include "mainwindow/startup_entry.h"

#include "text/ascii.h"
#include "texts/audio_texts.h"

namespace kolvi {
namespace {

// "\\?\C:\x" -> "C:\x", "\\?\UNC\server\x" -> "\\server\x".
std::string plainPath(std::string_view path) {
    if (path.starts_with("\\\\?\\UNC\\")) return "\\\\" + std::string(path.substr(8));
    if (path.starts_with("\\\\?\\")) path.remove_prefix(4);
    return std::string(path);
}

}  // namespace

std::string startupCommandLine(std::string_view programPath) {
    std::string line = "\"";
    line += programPath;
    line += "\" ";
    return line += kStartupArgument;
}

std::string_view commandLineProgram(std::string_view commandLine) {
    const std::size_t start = commandLine.find_first_not_of(' ');
    if (start == std::string_view::npos) return {};
    commandLine.remove_prefix(start);
    if (commandLine.front() == '"') {
        commandLine.remove_prefix(1);
        return commandLine.substr(0, commandLine.find('"'));
    }
    return commandLine.substr(0, commandLine.find(' '));
}

bool sameFinalPath(std::string_view a, std::string_view b) {
    const std::string x = plainPath(a);
    return !x.empty() && equalsIgnoringAsciiCase(x, plainPath(b));
}

bool StartWithWindows::refresh() {
    ticked_ = false;
    if (registry_ == nullptr) return false;
    const std::optional<std::string> entry = registry_->readEntry();
    if (!entry) return false;
    const std::string program(commandLineProgram(*entry));
    ticked_ = !program.empty() && sameFinalPath(registry_->finalPath(program), registry_->finalPath(registry_->programPath()));
    return ticked_;
}

std::string StartWithWindows::toggle() {
    if (registry_ == nullptr) return {};
    refresh();
    const std::string error =
        ticked_ ? registry_->removeEntry() : registry_->writeEntry(startupCommandLine(registry_->programPath()));
    refresh();
    return error;
}

}  // namespace kolvi
