#include "platform/win32/window_base.h"

#include "platform/win32/proc_guard.h"

namespace kolvi::win32 {

// Only reached with a live window when the owner drops the object without
// closing it first (a test, or a failed start). The user data is cleared
// before DestroyWindow, because the derived object is already gone: its
// WM_DESTROY handling (unload, subclass removal) does not run on this path,
// and comctl32 removes any remaining subclass at WM_NCDESTROY.
WindowBase::~WindowBase() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool WindowBase::createWindow(const wchar_t* className, HICON icon, DWORD exStyle, DWORD style,
                              const wchar_t* title, int x, int y, int width, int height, HWND parent,
                              HMENU menu) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = &WindowBase::staticProc;
        wc.hInstance = instance;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc)) return false;
    }
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu, instance, this) !=
           nullptr;
}

LRESULT WindowBase::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowBase* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    // After a fault the message gets the default behaviour, so that the
    // window still paints, sizes and closes.
    LRESULT result = 0;
    bool failed = true;
    result = guarded<LRESULT>(0, [&] {
        const LRESULT r = self->handleMessage(message, wParam, lParam);
        failed = false;
        return r;
    });
    if (failed) result = DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace kolvi::win32
