#include "mainwindow/window_geometry.h"

#include <algorithm>
#include <limits>

namespace kolvi {
namespace {

constexpr int kDefaultDpi = 96;

int effectiveDpi(int dpi) { return dpi > 0 ? dpi : kDefaultDpi; }

// value * numerator / denominator rounded half away from zero, saturated to
// the range of int; denominator > 0.
int scaleRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return static_cast<int>(std::clamp<long long>(rounded, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

Rect intersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool titleBarReachable(const Rect& window, const Rect& area, const PlacementMetrics& metrics) {
    const Rect titleBar{window.left, window.top, window.right, window.top + metrics.captionHeight};
    const Rect shown = intersection(titleBar, area);
    const int neededWidth = std::max(1, std::min(metrics.minVisibleWidth, window.width()));
    const int neededHeight = std::max(1, (metrics.captionHeight + 1) / 2);
    return shown.width() >= neededWidth && shown.height() >= neededHeight;
}

}  // namespace

std::optional<Rect> layoutAlarmList(Size client, bool statusBarVisible, int statusBarHeight) {
    if (!statusBarVisible) return Rect{0, 0, client.width, client.height};
    if (statusBarHeight >= client.height) return std::nullopt;
    return Rect{0, 0, client.width, client.height - statusBarHeight};
}

int twipsToPixels(int twips, int dpi) { return scaleRounded(twips, effectiveDpi(dpi), kTwipsPerInch); }

int pixelsToTwips(int pixels, int dpi) { return scaleRounded(pixels, kTwipsPerInch, effectiveDpi(dpi)); }

PlacementMetrics placementMetricsForDpi(int dpi) {
    const int d = effectiveDpi(dpi);
    return {scaleRounded(24, d, kDefaultDpi), scaleRounded(48, d, kDefaultDpi)};
}

Rect placeWindowOnScreen(const Rect& window, std::span<const Rect> workAreas, const PlacementMetrics& metrics) {
    if (workAreas.empty()) return window;
    for (const Rect& area : workAreas) {
        if (titleBarReachable(window, area, metrics)) return window;
    }
    const Rect& primary = workAreas.front();
    const int width = std::clamp(window.width(), 0, std::max(0, primary.width()));
    const int height = std::clamp(window.height(), 0, std::max(0, primary.height()));
    return {primary.left, primary.top, primary.left + width, primary.top + height};
}

}  // namespace kolvi
