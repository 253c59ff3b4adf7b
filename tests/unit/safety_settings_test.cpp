#include "settings/safety_settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/memory_file_system.h"

namespace kolvi {
namespace {

TEST(SafetySettings, DefaultsAndHandEditsBroughtIntoRange) {
    test::ProgramFiles files;
    const auto read = [&settings = files.settings] {
        return std::tuple(readWakeTimer(settings), readMissedGrace(settings), readKeyGuardMs(settings),
                          readActionDelay(settings), readShowNextAlarm(settings));
    };
    EXPECT_EQ(read(), std::tuple(false, 0, 500u, 30, true));
    files.fs.put(files.settings.path(), "[alarm]\r\nwake=1\r\nmissedgrace=999999\r\nkeyguard=0\r\nactiondelay=-10\r\n"
                                        "[window]\r\nshownext=2\r\n");
    EXPECT_EQ(read(), std::tuple(true, 86400, 0u, 30, false));
}

}  // namespace
}  // namespace kolvi
