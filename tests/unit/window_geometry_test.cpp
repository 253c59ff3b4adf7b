#include "mainwindow/window_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace kolvi {
namespace {

// The list fills the client area above a visible status bar; a client area
// no higher than the bar (a minimised window) leaves the list alone.
TEST(Layout, ListFillsTheClientAreaAboveAVisibleStatusBar) {
    EXPECT_EQ(layoutAlarmList({500, 300}, true, 22), (Rect{0, 0, 500, 278}));
    EXPECT_EQ(layoutAlarmList({500, 300}, false, 22), (Rect{0, 0, 500, 300}));
    EXPECT_EQ(layoutAlarmList({500, 23}, true, 22), (Rect{0, 0, 500, 1}));
    EXPECT_EQ(layoutAlarmList({500, 22}, true, 22), std::nullopt);
}

TEST(Twips, ConvertWithTheWindowsDpiRoundingHalfAwayFromZero) {
    const int cases[][3] = {
        // twips, dpi, pixels
        {7000, 96, 467}, {3500, 96, 233}, {7000, 120, 583}, {-7, 96, 0}, {-8, 96, -1}, {1440, 0, 96}, {1440, -5, 96},
    };
    for (const auto& [twips, dpi, pixels] : cases) {
        EXPECT_EQ(twipsToPixels(twips, dpi), pixels) << twips << " at " << dpi;
    }
    EXPECT_EQ(pixelsToTwips(1, 192), 8);
    EXPECT_EQ(pixelsToTwips(-1, 192), -8);
    EXPECT_EQ(pixelsToTwips(INT_MAX, 96), INT_MAX);  // saturates instead of wrapping
    EXPECT_EQ(pixelsToTwips(INT_MIN, 96), INT_MIN);
    // Pixels survive a round trip, and twips settle after one.
    for (const int dpi : {96, 120, 144, 192}) {
        for (int pixels = -4000; pixels <= 8000; ++pixels) {
            ASSERT_EQ(twipsToPixels(pixelsToTwips(pixels, dpi), dpi), pixels) << pixels << " px at " << dpi;
        }
        for (int twips = -3000; twips <= 3000; ++twips) {
            const int settled = pixelsToTwips(twipsToPixels(twips, dpi), dpi);
            ASSERT_EQ(pixelsToTwips(twipsToPixels(settled, dpi), dpi), settled) << twips << " twips at " << dpi;
        }
    }
}

// A window whose title bar can still be grabbed on some monitor stays; any
// other moves to the primary work area's corner, cut to its size.
TEST(Placement, AnUnreachableWindowMovesOntoThePrimaryWorkArea) {
    const std::vector<Rect> monitors{{0, 40, 1920, 1080}, {-1280, 0, 0, 984}};
    const PlacementMetrics m = placementMetricsForDpi(96);
    const struct {
        const char* what;
        Rect window, placed;
    } cases[] = {
        {"on the monitor left of the primary", {-1000, 100, -500, 400}, {-1000, 100, -500, 400}},
        {"120 pixels of title still shown", {1800, 500, 2300, 800}, {1800, 500, 2300, 800}},
        {"12 of 24 caption pixels above the bottom", {100, 1068, 500, 1300}, {100, 1068, 500, 1300}},
        {"narrower than the grab width, all of it shown", {0, 300, 40, 600}, {0, 300, 40, 600}},
        {"on a monitor that is gone", {4000, 100, 4500, 400}, {0, 40, 500, 340}},
        {"title bar under a taskbar at the top", {0, 0, 467, 233}, {0, 40, 467, 273}},
        {"a 40-pixel sliver of title bar", {1880, 300, 2400, 600}, {0, 40, 520, 340}},
        {"11 caption pixels shown", {100, 1069, 600, 1369}, {0, 40, 500, 340}},
        {"larger than the screen, title bar above it", {100, -500, 5000, 3000}, {0, 40, 1920, 1080}},
    };
    for (const auto& c : cases) EXPECT_EQ(placeWindowOnScreen(c.window, monitors, m), c.placed) << c.what;
    EXPECT_EQ(placeWindowOnScreen({4000, 0, 4100, 100}, {}, m), (Rect{4000, 0, 4100, 100}));
}

}  // namespace
}  // namespace kolvi
