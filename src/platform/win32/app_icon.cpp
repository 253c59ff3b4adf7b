#include "platform/win32/app_icon.h"

#include <commctrl.h>

#include "resource.h"

namespace kolvi::win32 {
namespace {

// The common controls draw a size from the nearest larger image of the
// icon; LoadImage would scale the nearest one, also up.
UniqueIcon loadAt(int size) {
    using LoadIconScaled = HRESULT WINAPI(HINSTANCE, PCWSTR, int, int, HICON*);
    static auto* const loadScaled = reinterpret_cast<LoadIconScaled*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown")));
    HICON icon = nullptr;
    if (loadScaled == nullptr ||
        FAILED(loadScaled(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), size, size, &icon))) {
        icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, 0));
    }
    return UniqueIcon(icon);
}

}  // namespace

WindowIcons loadWindowIcons(UINT dpi) {
    return {loadAt(GetSystemMetricsForDpi(SM_CXSMICON, dpi)), loadAt(GetSystemMetricsForDpi(SM_CXICON, dpi))};
}

void setWindowIcons(HWND window, const WindowIcons& icons) {
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.small.get()));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.big.get()));
}

}  // namespace kolvi::win32
