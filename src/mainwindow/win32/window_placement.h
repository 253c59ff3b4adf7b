#pragma once
// Where the main window goes at start and what of its place the exit keeps:
// the stored place (twips) as pixels for a dpi, kept on a monitor's work
// area, and the restored place and state read back from the window.
#include <windows.h>

#include "mainwindow/window_geometry.h"
#include "mainwindow/window_settings.h"

namespace kolvi {

Rect toRect(const RECT& r);

// The stored place at `dpi`, moved onto the primary work area when its title
// bar could not be reached on any monitor.
Rect storedWindowPlace(const WindowSettings& stored, int dpi);

// The window's restored place in twips at `dpi` and its state (minimised
// while it lives in the tray) into `settings`; the rest is left as it was.
void captureWindowPlace(HWND window, int dpi, bool inTray, WindowSettings& settings);

}  // namespace kolvi
