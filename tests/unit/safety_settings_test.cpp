#include "settings/safety_settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

TEST(SafetySettings, DefaultsAndHandEditsBroughtIntoRange) {
    test::MemoryFileSystem fs;
    const IconvCodec codec{};
    const SettingsFile settings(fs, codec, "C:\\prog\\kolvialarm.ini");
    const auto read = [&settings] {
        return std::tuple(readWakeTimer(settings), readMissedGrace(settings), readKeyGuardMs(settings),
                          readActionDelay(settings), readShowNextAlarm(settings));
    };
    EXPECT_EQ(read(), std::tuple(false, 0, 500u, 30, true));
    fs.put(settings.path(), "[alarm]\r\nwake=1\r\nmissedgrace=999999\r\nkeyguard=0\r\nactiondelay=-10\r\n"
                            "[window]\r\nshownext=2\r\n");
    EXPECT_EQ(read(), std::tuple(true, 86400, 0u, 30, false));
}

}  // namespace
}  // namespace kolvi
