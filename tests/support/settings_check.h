#pragma once
// Properties every settings file must keep under reading and writing.
#include <string>
#include <string_view>

namespace kolvi::fuzzcheck {

// "" when every property holds for the file, otherwise what went wrong.
std::string checkSettingsFile(std::string_view bytes);

}  // namespace kolvi::fuzzcheck
