#include "mainwindow/window_settings.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

constexpr const char* kIni = "C:\\prog\\kolvialarm.ini";

class WindowSettingsTest : public ::testing::Test {
protected:
    SettingsFile& withFile(const std::string& text) {
        fs.put(kIni, text);
        return settings;
    }

    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, kIni};
};

auto fields(const WindowSettings& w) {
    return std::tuple(w.state, w.left, w.top, w.width, w.height, w.alpha, w.list.sortKey, w.list.sortOrder,
                      w.list.columnWidths, w.showToolTip, w.statusBarVisible);
}

// Values in range are read as written; out of range, each falls back (state,
// sizes, sort, widths) or is clamped (opacity); a flag is on for 1 only, a
// fraction after the number ignored. Each case: the file, and how what it
// reads differs from the defaults.
TEST_F(WindowSettingsTest, HandEditedValuesAreBroughtIntoRange) {
    const std::pair<std::string, void (*)(WindowSettings&)> cases[] = {
        {"", [](WindowSettings&) {}},
        {"[window]\r\nstate=1\r\nleft=-1200\r\ntop=-30\r\narpha=128\r\nwidth=9000\r\nheight=4000\r\n"
         "[list]\r\nsortkey=0\r\nsortorder=-1\r\ncolwidth3=120\r\nshowtooltip=1.7\r\n[statusbar]\r\nvisible=0\r\n",
         [](WindowSettings& w) {
             w = {WindowState::minimized, -1200, -30, 9000, 4000, 128, {0, -1, {40, 40, 120, 70, 200, 40}}, true,
                  false};
         }},
        {"[window]\r\nstate=3\r\narpha=300\r\nwidth=0\r\nheight=-20\r\n"
         "[list]\r\nsortkey=6\r\nsortorder=2\r\ncolwidth2=0\r\nshowtooltip=2\r\n[statusbar]\r\nvisible=x\r\n",
         [](WindowSettings& w) { w.statusBarVisible = false; }},
        {"[window]\r\nstate=2\r\narpha=-4\r\n[list]\r\nsortkey=-1\r\nshowtooltip=-1\r\n[statusbar]\r\nvisible=\r\n",
         [](WindowSettings& w) { w.state = WindowState::maximized; w.alpha = 0; }},
    };
    for (const auto& [file, edit] : cases) {
        WindowSettings expected;
        edit(expected);
        EXPECT_EQ(fields(loadWindowSettings(withFile(file))), fields(expected)) << file;
    }
}

// What the exit writes reads back as it was (the opacity, never written, excepted).
TEST_F(WindowSettingsTest, SavedSettingsReadBack) {
    const WindowSettings w{WindowState::minimized, -1200, 450, 9000, 4005, 128, {1, 1, {40, 120, 100, 70, 200, 40}},
                           true, false};
    withFile("[window]\r\narpha=7\r\n");
    saveWindowSettings(settings, w, "  list.alm ");
    WindowSettings expected = w;
    expected.alpha = 7;
    EXPECT_EQ(fields(loadWindowSettings(settings)), fields(expected));
    EXPECT_EQ(settings.readString("list", "lastopen", ""), "list.alm");
    // A tag the file cannot hold leaves no older file to be reopened.
    saveWindowSettings(settings, w, "smile 😀.alm");
    EXPECT_EQ(settings.readString("list", "lastopen", "none"), "");
}

TEST_F(WindowSettingsTest, TimerPeriodsAndTheCloseQuestion) {
    const std::pair<const char*, int> intervals[] = {{"", 250}, {"100", 100}, {"-5", 0}, {"70000", 65535}};
    for (const auto& [value, ms] : intervals) {
        EXPECT_EQ(readCheckInterval(withFile(std::string("[time]\r\ninterval=") + value + "\r\n")), ms) << value;
    }
    const std::pair<const char*, std::uint32_t> refreshes[] = {
        {"", 0}, {"-1", 0}, {"65", 65000u}, {"86400", 86400000u}, {"86401", 86400000u}};
    for (const auto& [value, ms] : refreshes) {
        EXPECT_EQ(readTrayRefreshPeriod(withFile(std::string("[window]\r\ntrayrefreshinterval=") + value + "\r\n")), ms)
            << value;
    }
    // Only the close command asks, and only while the key is not 0.
    const std::pair<const char*, bool> values[] = {
        {"", false}, {"0", false}, {"abc", false}, {"2", true}, {"-1", true}};
    for (const auto& [value, asks] : values) {
        withFile(std::string("[window]\r\ncloseconfirm=") + value + "\r\n");
        EXPECT_EQ(closeNeedsConfirmation(CloseSource::closeCommand, settings), asks) << value;
        EXPECT_FALSE(closeNeedsConfirmation(CloseSource::programExit, settings)) << value;
        EXPECT_FALSE(closeNeedsConfirmation(CloseSource::sessionEnd, settings)) << value;
    }
}

TEST(StartUp, MinArgumentAndStoredStateDecideTheTray) {
    const std::pair<std::vector<std::string>, bool> arguments[] = {
        {{"min"}, true}, {{}, false}, {{"MIN"}, false}, {{" min"}, false}, {{"min", "x"}, false}, {{"x", "min"}, false},
    };
    for (const auto& [args, min] : arguments) {
        EXPECT_EQ(isMinimizedStartArgument(args), min) << (args.empty() ? "(none)" : args.front());
    }
    using S = WindowState;
    EXPECT_EQ(startPlan(S::normal, false), (StartPlan{S::normal, false}));
    EXPECT_EQ(startPlan(S::maximized, true), (StartPlan{S::maximized, true}));
    EXPECT_EQ(startPlan(S::minimized, false), (StartPlan{S::normal, true}));
}

}  // namespace
}  // namespace kolvi
