#include "settings/safety_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

constexpr const char* kIni = "C:\\prog\\kolvialarm.ini";

TEST(SafetySettings, DefaultsAndHandEditsBroughtIntoRange) {
    const struct {
        std::string file;
        bool wake;
        int grace;
        std::uint32_t guard;
        int delay;
        bool showNext;
    } cases[] = {
        {"", false, 0, 500, 30, true},
        {"[alarm]\r\nwake=1\r\nmissedgrace=120\r\nkeyguard=0\r\nactiondelay=0\r\n[window]\r\nshownext=0\r\n", true, 120,
         0, 0, false},
        {"[alarm]\r\nwake=2\r\nmissedgrace=-5\r\nkeyguard=-1\r\nactiondelay=-10\r\n[window]\r\nshownext=2\r\n", false, 0,
         500, 30, false},
        {"[alarm]\r\nmissedgrace=999999\r\nkeyguard=60000\r\nactiondelay=99999\r\n", false, 86400, 10000, 3600, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        test::MemoryFileSystem fs;
        if (!c.file.empty()) fs.put(kIni, c.file);
        IconvCodec codec;
        const SettingsFile settings(fs, codec, kIni);
        EXPECT_EQ(std::tuple(readWakeTimer(settings), readMissedGrace(settings), readKeyGuardMs(settings),
                             readActionDelay(settings), readShowNextAlarm(settings)),
                  std::tuple(c.wake, c.grace, c.guard, c.delay, c.showNext));
    }
}

}  // namespace
}  // namespace kolvi
