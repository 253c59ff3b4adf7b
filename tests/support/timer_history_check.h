#pragma once
// Properties every timer history keeps under loading, reading and recording.
#include <string>
#include <string_view>

namespace kolvi::fuzzcheck {

// "" when every property holds for a file of these bytes, otherwise what went wrong.
std::string checkTimerHistory(std::string_view bytes);

}  // namespace kolvi::fuzzcheck
