#pragma once
// The program's icon at the sizes a window, its caption and the
// notification area ask for at a dpi: each size drawn from the icon's own
// image of that size (or scaled down from a larger one), never scaled up.
#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace kolvi::win32 {

struct WindowIcons {
    UniqueIcon small;  // caption, notification area
    UniqueIcon big;    // Alt+Tab, taskbar
};

WindowIcons loadWindowIcons(UINT dpi);
// Hands the icons to the window (the window does not own them).
void setWindowIcons(HWND window, const WindowIcons& icons);

}  // namespace kolvi::win32
