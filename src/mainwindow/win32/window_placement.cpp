#include "mainwindow/win32/window_placement.h"

#include <vector>

#include "platform/win32/proc_guard.h"

namespace kolvi {

Rect toRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

namespace {

BOOL CALLBACK collectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    return win32::guarded<BOOL>(FALSE, [&] {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info)) {
            auto& areas = *reinterpret_cast<std::vector<Rect>*>(data);
            // The primary monitor goes first.
            if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
                areas.insert(areas.begin(), toRect(info.rcWork));
            } else {
                areas.push_back(toRect(info.rcWork));
            }
        }
        return TRUE;
    });
}

std::vector<Rect> monitorWorkAreas() {
    std::vector<Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &collectWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// Window placements are in workspace coordinates, which differ from the
// screen's where a taskbar sits on the top or left edge.
RECT workspaceToScreen(const RECT& r) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info);
    const int dx = info.rcWork.left - info.rcMonitor.left;
    const int dy = info.rcWork.top - info.rcMonitor.top;
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

// The exit writes twips with the dpi of the monitor the window is on; they
// are read back with the dpi of the monitor the stored place falls on.
Rect storedWindowPlace(const WindowSettings& stored, int dpi) {
    Rect r{twipsToPixels(stored.left, dpi), twipsToPixels(stored.top, dpi), 0, 0};
    r.right = r.left + twipsToPixels(stored.width, dpi);
    r.bottom = r.top + twipsToPixels(stored.height, dpi);
    const std::vector<Rect> areas = monitorWorkAreas();
    return areas.empty() ? r : placeWindowOnScreen(r, areas, placementMetricsForDpi(dpi));
}

void captureWindowPlace(HWND window, int dpi, bool inTray, WindowSettings& settings) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    const RECT normal = workspaceToScreen(placement.rcNormalPosition);
    settings.state = inTray ? WindowState::minimized : (IsZoomed(window) ? WindowState::maximized : WindowState::normal);
    settings.left = pixelsToTwips(normal.left, dpi);
    settings.top = pixelsToTwips(normal.top, dpi);
    settings.width = pixelsToTwips(normal.right - normal.left, dpi);
    settings.height = pixelsToTwips(normal.bottom - normal.top, dpi);
}

}  // namespace kolvi
