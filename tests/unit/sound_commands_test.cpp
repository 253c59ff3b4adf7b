#include "notify/sound_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"

namespace kolvi {
namespace {

using Calls = std::vector<std::string>;

TEST(SoundCommandsTest, TheSettingChoosesThePlayer) {
    struct Case {
        int useMci;
        Calls start, stop;
    };
    // Blanks stay inside the quotes; each window plays under its own alias.
    const Case cases[] = {
        {0, {"play:C:\\a b.wav"}, {"stop"}},
        {1, {"mci:open \"C:\\a b.wav\" alias 99PL", "mci:play 99PL from 0"}, {"mci:stop 99PL", "mci:close 99PL"}},
        {2, {}, {}},
        {-1, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.useMci);
        test::RecordingSoundDevice device;
        const SoundApi api = soundApiFromSetting(c.useMci);
        startSound(device, "C:\\a b.wav", api, 99);
        EXPECT_EQ(device.calls, c.start);
        device.calls.clear();
        stopSound(device, api, 99);
        EXPECT_EQ(device.calls, c.stop);
    }
}

}  // namespace
}  // namespace kolvi
