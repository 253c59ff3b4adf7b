// Arbitrary bytes as the settings file, through the shared property check.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "support/settings_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        kolvi::fuzzcheck::checkSettingsFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "settings check failed: %s\n", problem.c_str());
        __builtin_trap();
    }
    return 0;
}
