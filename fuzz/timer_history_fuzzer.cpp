// Arbitrary bytes as the timer history, through the shared property check:
// loading and reading never crash and agree on every line, and a record
// lands on a line of its own without disturbing the older entries.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/timer_history_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        kolvi::fuzzcheck::checkTimerHistory(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "timer history check failed: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
