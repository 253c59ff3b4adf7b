// Arbitrary bytes as an alarm file: opening must never crash, a refused file
// must say so once, and whatever opens must save and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/alarm_file_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string failure = kolvi::test::checkAlarmFileRoundTrip(bytes);
    if (!failure.empty()) {
        std::fprintf(stderr, "alarm file round trip: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
