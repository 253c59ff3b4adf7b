#include "mainwindow/window_settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "mainwindow/window_geometry.h"
#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

class WindowSettingsTest : public ::testing::Test {
protected:
    SettingsFile& withFile(const std::string& text) {
        fs.put(settings.path(), text);
        return settings;
    }
    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, "C:\\prog\\kolvialarm.ini"};
};

auto fields(const WindowSettings& w) {
    return std::tuple(w.state, w.left, w.top, w.width, w.height, w.alpha, w.list.sortKey, w.list.sortOrder,
                      w.list.columnWidths, w.showToolTip, w.statusBarVisible);
}

// Values in range are read as written; out of range, each falls back (state,
// sizes, sort, widths) or is clamped (opacity); a flag is on for 1 only, a
// fraction after the number ignored.
TEST_F(WindowSettingsTest, HandEditedValuesAreBroughtIntoRange) {
    using S = WindowState;
    const std::pair<std::string, WindowSettings> cases[] = {
        {"", WindowSettings{}},
        {"[window]\r\nstate=1\r\nleft=-1200\r\ntop=-30\r\narpha=128\r\nwidth=9000\r\nheight=4000\r\n"
         "[list]\r\nsortkey=0\r\nsortorder=-1\r\ncolwidth3=120\r\nshowtooltip=1.7\r\n[statusbar]\r\nvisible=0\r\n",
         {S::minimized, -1200, -30, 9000, 4000, 128, {0, -1, {40, 40, 120, 70, 200, 40}}, true, false}},
        {"[window]\r\nstate=3\r\narpha=300\r\nwidth=0\r\nheight=-20\r\n"
         "[list]\r\nsortkey=6\r\nsortorder=2\r\ncolwidth2=0\r\nshowtooltip=2\r\n[statusbar]\r\nvisible=x\r\n",
         {S::normal, 0, 0, 7000, 3500, 255, {3, 0, {40, 40, 100, 70, 200, 40}}, false, false}},
        {"[window]\r\nstate=2\r\narpha=-4\r\n[list]\r\nsortkey=-1\r\nshowtooltip=-1\r\n[statusbar]\r\nvisible=\r\n",
         {S::maximized, 0, 0, 7000, 3500, 0, {3, 0, {40, 40, 100, 70, 200, 40}}, false, true}},
    };
    for (const auto& [file, expected] : cases) {
        EXPECT_EQ(fields(loadWindowSettings(withFile(file))), fields(expected)) << file;
    }
}

// What the exit writes reads back as it was (the opacity, never written,
// excepted); a tag the file cannot hold leaves no older file to be reopened.
TEST_F(WindowSettingsTest, SavedSettingsReadBack) {
    const WindowSettings w{WindowState::minimized, -1200, 450, 9000, 4005, 128, {1, 1, {40, 120, 100, 70, 200, 40}},
                           true, false};
    saveWindowSettings(withFile("[window]\r\narpha=7\r\n"), w, "  list.alm ");
    WindowSettings expected = w;
    expected.alpha = 7;
    EXPECT_EQ(fields(loadWindowSettings(settings)), fields(expected));
    EXPECT_EQ(settings.readString("list", "lastopen", ""), "list.alm");
    saveWindowSettings(settings, w, "smile 😀.alm");
    EXPECT_EQ(settings.readString("list", "lastopen", "none"), "");
}

// Only the close command asks, and only while closeconfirm is not 0.
TEST_F(WindowSettingsTest, TimerPeriodsAndTheCloseQuestion) {
    for (const auto& [value, ms] : {std::pair{"", 250}, {"100", 100}, {"-5", 0}, {"70000", 65535}}) {
        EXPECT_EQ(readCheckInterval(withFile(std::string("[time]\r\ninterval=") + value)), ms) << value;
    }
    for (const auto& [value, ms] : {std::pair{"", 0u}, {"-1", 0u}, {"65", 65000u}, {"86401", 86400000u}}) {
        EXPECT_EQ(readTrayRefreshPeriod(withFile(std::string("[window]\r\ntrayrefreshinterval=") + value)), ms) << value;
    }
    for (const auto& [value, asks] : {std::pair{"", false}, {"0", false}, {"2", true}, {"-1", true}}) {
        withFile(std::string("[window]\r\ncloseconfirm=") + value);
        EXPECT_EQ(closeNeedsConfirmation(CloseSource::closeCommand, settings), asks) << value;
        EXPECT_FALSE(closeNeedsConfirmation(CloseSource::programExit, settings) ||
                     closeNeedsConfirmation(CloseSource::sessionEnd, settings)) << value;
    }
}

// Exactly one argument, exactly "min"; a window stored minimised comes back normal from the tray.
TEST(StartUp, MinArgumentAndStoredStateDecideTheTray) {
    const std::pair<std::vector<std::string>, bool> arguments[] = {
        {{"min"}, true}, {{}, false}, {{"MIN"}, false}, {{" min"}, false}, {{"min", "x"}, false}, {{"x", "min"}, false},
    };
    for (const auto& [args, min] : arguments) EXPECT_EQ(isMinimizedStartArgument(args), min) << args.size();
    using S = WindowState;
    EXPECT_EQ(startPlan(S::normal, false), (StartPlan{S::normal, false}));
    EXPECT_EQ(startPlan(S::maximized, true), (StartPlan{S::maximized, true}));
    EXPECT_EQ(startPlan(S::minimized, false), (StartPlan{S::normal, true}));
}

// The list fills the client area above a visible status bar; a client area
// no higher than the bar (a minimised window) leaves the list alone.
TEST(Layout, ListFillsTheClientAreaAboveAVisibleStatusBar) {
    EXPECT_EQ(layoutAlarmList({500, 300}, true, 22), (Rect{0, 0, 500, 278}));
    EXPECT_EQ(layoutAlarmList({500, 300}, false, 22), (Rect{0, 0, 500, 300}));
    EXPECT_EQ(layoutAlarmList({500, 23}, true, 22), (Rect{0, 0, 500, 1}));
    EXPECT_EQ(layoutAlarmList({500, 22}, true, 22), std::nullopt);
}

// Rounding half away from zero; a dpi of 0 or less counts as 96; beyond int, saturation.
TEST(Twips, ConvertWithTheWindowsDpi) {
    const int cases[][3] = {
        // twips, dpi, pixels
        {7000, 96, 467}, {3500, 96, 233}, {7000, 120, 583}, {-7, 96, 0}, {-8, 96, -1}, {1440, 0, 96}, {1440, -5, 96},
    };
    for (const auto& [twips, dpi, pixels] : cases) EXPECT_EQ(twipsToPixels(twips, dpi), pixels) << twips << " at " << dpi;
    EXPECT_EQ(std::pair(pixelsToTwips(1, 192), pixelsToTwips(-1, 192)), std::pair(8, -8));
    EXPECT_EQ(std::pair(pixelsToTwips(INT_MAX, 96), pixelsToTwips(INT_MIN, 96)), std::pair(INT_MAX, INT_MIN));
    // Pixels survive a round trip (so twips settle after one).
    for (const int dpi : {96, 120, 144, 192}) {
        for (int pixels = -4000; pixels <= 8000; ++pixels) {
            ASSERT_EQ(twipsToPixels(pixelsToTwips(pixels, dpi), dpi), pixels) << pixels << " px at " << dpi;
        }
    }
}

// A window whose title bar can still be grabbed on some monitor stays: on the
// monitor left of the primary, 120 pixels of title shown, 12 of 24 caption
// pixels above the bottom, narrower than the grab width but all shown, or with
// no monitors known. Any other moves to the primary work area's corner, cut to
// its size: on a monitor that is gone, under a taskbar at the top, a 40-pixel
// sliver of title, 11 caption pixels, larger than the screen.
TEST(Placement, AnUnreachableWindowMovesOntoThePrimaryWorkArea) {
    const std::vector<Rect> monitors{{0, 40, 1920, 1080}, {-1280, 0, 0, 984}};
    const PlacementMetrics m = placementMetricsForDpi(96);
    for (const Rect& stays : {Rect{-1000, 100, -500, 400}, {1800, 500, 2300, 800}, {100, 1068, 500, 1300}, {0, 300, 40, 600}}) {
        EXPECT_EQ(placeWindowOnScreen(stays, monitors, m), stays) << stays.left << "," << stays.top;
    }
    EXPECT_EQ(placeWindowOnScreen({4000, 0, 4100, 100}, {}, m), (Rect{4000, 0, 4100, 100}));
    const std::pair<Rect, Rect> moves[] = {
        {{4000, 100, 4500, 400}, {0, 40, 500, 340}},  {{0, 0, 467, 233}, {0, 40, 467, 273}},
        {{1880, 300, 2400, 600}, {0, 40, 520, 340}},  {{100, 1069, 600, 1369}, {0, 40, 500, 340}},
        {{100, -500, 5000, 3000}, {0, 40, 1920, 1080}},
    };
    for (const auto& [window, placed] : moves) EXPECT_EQ(placeWindowOnScreen(window, monitors, m), placed) << window.left;
}

}  // namespace
}  // namespace kolvi
