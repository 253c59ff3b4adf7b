#pragma once
// The text of the version box (its title is kVersionBoxTitle).
#include <string>

namespace kolvi {

// "Kolviアラーム", CR LF, "version M.m.r" in plain decimal.
std::string versionBoxText(int major, int minor, int revision);

}  // namespace kolvi
