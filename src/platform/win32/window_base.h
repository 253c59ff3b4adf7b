#pragma once
// A window object that owns its HWND. The static procedure keeps `this` in
// the window's user data from WM_NCCREATE until WM_NCDESTROY, and no C++
// exception may escape into the system's message dispatch.
#include <windows.h>

namespace kolvi::win32 {

class WindowBase {
public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase();

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers the class once per process and creates the window.
    bool createWindow(const wchar_t* className, HICON icon, DWORD exStyle, DWORD style, const wchar_t* title,
                      int x, int y, int width, int height, HWND parent, HMENU menu);
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace kolvi::win32
