#include "notify/sound_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"

namespace kolvi {
namespace {

using Calls = std::vector<std::string>;

TEST(SoundCommandsTest, CommandStringsForAWindowsFile) {
    struct Case {
        std::string file;
        std::uint64_t handle;
        std::string open, play, stop, close;
    };
    const Case cases[] = {
        {"C:\\sound\\bell.wav", 1234, "open \"C:\\sound\\bell.wav\" alias 1234PL", "play 1234PL from 0",
         "stop 1234PL", "close 1234PL"},
        // Blanks stay inside the quotes.
        {"C:\\My Sounds\\wake up.mp3", 66310, "open \"C:\\My Sounds\\wake up.mp3\" alias 66310PL",
         "play 66310PL from 0", "stop 66310PL", "close 66310PL"},
        // Japanese names pass through as they are (converted at the device).
        {"C:\\音\\目覚まし 時計.wav", 7, "open \"C:\\音\\目覚まし 時計.wav\" alias 7PL", "play 7PL from 0",
         "stop 7PL", "close 7PL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        test::RecordingSoundDevice device;
        startSound(device, c.file, kMultimediaCommands, c.handle);
        stopSound(device, kMultimediaCommands, c.handle);
        EXPECT_EQ(device.calls, (Calls{"mci:" + c.open, "mci:" + c.play, "mci:" + c.stop, "mci:" + c.close}));
    }
}

TEST(SoundCommandsTest, TheSettingChoosesThePlayer) {
    struct Case {
        int apiType;
        Calls start, stop;
    };
    const Case cases[] = {
        {0, {"play:C:\\a b.wav"}, {"stop"}},
        {1, {"mci:open \"C:\\a b.wav\" alias 99PL", "mci:play 99PL from 0"}, {"mci:stop 99PL", "mci:close 99PL"}},
        {2, {}, {}},
        {-1, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.apiType);
        test::RecordingSoundDevice device;
        startSound(device, "C:\\a b.wav", c.apiType, 99);
        EXPECT_EQ(device.calls, c.start);
        device.calls.clear();
        stopSound(device, c.apiType, 99);
        EXPECT_EQ(device.calls, c.stop);
    }
}

}  // namespace
}  // namespace kolvi
