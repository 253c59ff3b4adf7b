#include "store/paths.h"

namespace kolvi {
namespace {

constexpr char kSeparator = '\\';

}  // namespace

std::string fileNamePart(std::string_view path) {
    const std::size_t last = path.rfind(kSeparator);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

// A drive-relative name such as "C:list.alm" has no backslash and therefore no
// directory part: it never equals the program directory, so such a name is
// remembered exactly as written instead of being turned into a different file
// in the program directory.
std::string directoryPart(std::string_view path) {
    const std::size_t last = path.rfind(kSeparator);
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last));
}

bool isAbsolutePath(std::string_view path) {
    return path.find(':') != std::string_view::npos || path.starts_with("\\\\");
}

std::string resolveInProgramDirectory(std::string_view path, std::string_view programDirectory) {
    if (path.empty() || isAbsolutePath(path)) return std::string(path);
    // "\list.alm" is relative too; joining it without doubling the separator
    // names the same file as "list.alm" and keeps its tag a bare name.
    if (path.front() == kSeparator) path.remove_prefix(1);
    std::string full;
    full.reserve(programDirectory.size() + 1 + path.size());
    full.append(programDirectory).append(1, kSeparator).append(path);
    return full;
}

std::string fileTagFor(std::string_view fullPath, std::string_view programDirectory) {
    std::string name = fileNamePart(fullPath);
    // An empty name would read as "no file open", so keep the whole path then.
    if (!name.empty() && directoryPart(fullPath) == programDirectory) return name;
    return std::string(fullPath);
}

}  // namespace kolvi
