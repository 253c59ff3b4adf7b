#pragma once
// Windows path rules on UTF-8 text (never on code-page-932 bytes, whose trail
// bytes may be a backslash).
#include <string>
#include <string_view>

namespace kolvi {

// Everything after the last "\"; the whole text when there is none.
std::string fileNamePart(std::string_view path);
// Everything before the last "\"; "" when there is none.
std::string directoryPart(std::string_view path);
// True when the path holds ":" anywhere or begins with "\\".
bool isAbsolutePath(std::string_view path);
// A non-empty relative name is taken relative to the program directory.
std::string resolveInProgramDirectory(std::string_view path, std::string_view programDirectory);
// The file tag for an opened file: its bare name when it lies directly in the
// program directory (case counts), else the whole path.
std::string fileTagFor(std::string_view fullPath, std::string_view programDirectory);

}  // namespace kolvi
