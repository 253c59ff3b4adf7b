#pragma once
// The alarm file's round-trip property, shared by the fuzzer and the unit test
// that replays the fuzzer's corpus: whatever opens must save, and reading the
// saved file back must give the same rows and, saved again, the same bytes.
#include <string>
#include <string_view>

namespace kolvi::test {

// "" when the property holds (a refused file holds it trivially, as long as it
// was refused with exactly one message); otherwise what went wrong.
std::string checkAlarmFileRoundTrip(std::string_view bytes);

}  // namespace kolvi::test
