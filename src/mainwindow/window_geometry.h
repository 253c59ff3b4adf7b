#pragma once
// Geometry of the main window without Win32 types: the list's place in the
// client area, twips and pixels, and keeping a restored window on a screen.
#include <optional>
#include <span>

namespace kolvi {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive, as in a Win32 RECT.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Where the list goes in a client area of the given size: above a visible
// status bar, or over the whole area when the bar is hidden. nullopt when the
// bar is visible but at least as high as the client area (a minimised
// window): the list is left where it is.
std::optional<Rect> layoutAlarmList(Size client, bool statusBarVisible, int statusBarHeight);

// Window geometry is stored in twips, 1/1440 inch, and converted with the
// window's own dpi. Both directions round to the nearest unit, halves away
// from zero, so pixels -> twips -> pixels gives back the same pixels at any
// dpi up to 1440. A dpi of zero or less is taken as 96.
inline constexpr int kTwipsPerInch = 1440;
int twipsToPixels(int twips, int dpi);
int pixelsToTwips(int pixels, int dpi);

// How much of a window must show for it to count as reachable: a piece of
// its title bar at least minVisibleWidth wide (or the whole width of a
// narrower window) and at least half the caption high inside a work area.
struct PlacementMetrics {
    int captionHeight = 0;
    int minVisibleWidth = 0;
};
// Caption 24 and grab width 48 pixels at 96 dpi, scaled.
PlacementMetrics placementMetricsForDpi(int dpi);

// The restored window's rectangle (pixels, virtual-screen coordinates),
// unchanged when its title bar is reachable on one of the monitors' work
// areas (the primary first). Otherwise it is moved to the top left corner of
// the primary work area, shrunk to fit that area if larger. With no work
// areas at all it is left unchanged.
Rect placeWindowOnScreen(const Rect& window, std::span<const Rect> workAreas, const PlacementMetrics& metrics);

}  // namespace kolvi
