#include "mainwindow/window_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace kolvi {
namespace {

TEST(Layout, ListFillsTheClientAreaAboveAVisibleStatusBar) {
    EXPECT_EQ(layoutAlarmList({500, 300}, true, 22), (Rect{0, 0, 500, 278}));
    EXPECT_EQ(layoutAlarmList({500, 300}, false, 22), (Rect{0, 0, 500, 300}));
    EXPECT_EQ(layoutAlarmList({500, 23}, true, 22), (Rect{0, 0, 500, 1}));
    // Not lower than the client area (a minimised window): leave the list.
    EXPECT_EQ(layoutAlarmList({500, 22}, true, 22), std::nullopt);
    EXPECT_EQ(layoutAlarmList({0, 0}, true, 22), std::nullopt);
    EXPECT_EQ(layoutAlarmList({0, 0}, false, 22), (Rect{0, 0, 0, 0}));
}

TEST(Twips, ConvertWithTheWindowsDpi) {
    struct Case {
        int twips, dpi, pixels;
    };
    const Case cases[] = {
        {1440, 144, 144}, {15, 96, 1},   {7000, 96, 467},  // 466.67
        {3500, 96, 233},  {7000, 120, 583},                // 233.33, 583.33
        {-7, 96, 0},      {-8, 96, -1},  {0, 96, 0},
        {1440, 0, 96},    {1440, -5, 96},                  // no dpi known: 96
    };
    for (const Case& c : cases) {
        EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
    }
    EXPECT_EQ(pixelsToTwips(467, 96), 7005);
    EXPECT_EQ(pixelsToTwips(-1, 96), -15);
    EXPECT_EQ(pixelsToTwips(1, 192), 8);  // 7.5 rounds away from zero
    EXPECT_EQ(pixelsToTwips(-1, 192), -8);
    EXPECT_EQ(pixelsToTwips(INT_MAX, 96), INT_MAX);  // saturates instead of wrapping
    EXPECT_EQ(pixelsToTwips(INT_MIN, 96), INT_MIN);
}

TEST(Twips, PixelsSurviveARoundTripAndTwipsSettleAfterOne) {
    for (const int dpi : {96, 120, 144, 192}) {
        for (int pixels = -4000; pixels <= 8000; ++pixels) {
            const int twips = pixelsToTwips(pixels, dpi);
            ASSERT_EQ(twipsToPixels(twips, dpi), pixels) << pixels << " px at " << dpi;
        }
        for (int twips = -3000; twips <= 3000; ++twips) {
            const int settled = pixelsToTwips(twipsToPixels(twips, dpi), dpi);
            ASSERT_EQ(pixelsToTwips(twipsToPixels(settled, dpi), dpi), settled) << twips << " twips at " << dpi;
        }
    }
}

TEST(Placement, AWindowThatCanBeReachedStaysWhereItIs) {
    const std::vector<Rect> monitors{{0, 0, 1920, 1040}, {-1280, 0, 0, 984}};
    const PlacementMetrics m = placementMetricsForDpi(96);
    const Rect cases[] = {
        {0, 0, 467, 233},          // the first start's default
        {-1000, 100, -500, 400},   // on the monitor left of the primary
        {1800, 500, 2300, 800},    // 120 pixels of title still on the primary
        {-200, 20, 300, 300},      // partly left of every monitor
        {100, 1028, 500, 1300},    // 12 of 24 caption pixels above the taskbar
        {0, 300, 40, 600},         // narrower than the grab width, all of it shown
    };
    for (const Rect& r : cases) {
        EXPECT_EQ(placeWindowOnScreen(r, monitors, m), r) << r.left << "," << r.top;
    }
}

TEST(Placement, AnUnreachableWindowMovesOntoThePrimaryWorkArea) {
    const std::vector<Rect> monitors{{0, 40, 1920, 1080}, {1920, 0, 3840, 1040}};
    const PlacementMetrics m = placementMetricsForDpi(96);
    struct Case {
        const char* what;
        Rect window, placed;
    };
    const Case cases[] = {
        {"on a monitor that is gone", {4000, 100, 4500, 400}, {0, 40, 500, 340}},
        {"title bar under a taskbar at the top", {0, 0, 467, 233}, {0, 40, 467, 273}},
        {"straddling two monitors stays", {1880, 300, 2400, 600}, {1880, 300, 2400, 600}},
        {"a 40-pixel sliver of title bar", {-480, 300, 40, 600}, {0, 40, 520, 340}},
        {"below the bottom of the work area", {100, 1070, 600, 1370}, {0, 40, 500, 340}},
        {"larger than the screen, title bar above it", {100, -500, 5000, 3000}, {0, 40, 1920, 1080}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placeWindowOnScreen(c.window, monitors, m), c.placed) << c.what;
    }
    EXPECT_EQ(placeWindowOnScreen({4000, 0, 4100, 100}, {}, m), (Rect{4000, 0, 4100, 100}));
}

}  // namespace
}  // namespace kolvi
