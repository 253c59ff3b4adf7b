#pragma once
// The notification-area icon. Every call fills a fresh record; the icon
// remembers whether the shell holds it, and takes itself away when it goes.
#include <windows.h>

#include <string>

namespace kolvi::win32 {

class TrayIcon {
public:
    TrayIcon(HWND receiver, UINT callbackMessage, HICON icon);
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { remove(); }

    // False when the shell refused (it may not be running yet).
    bool add(const std::wstring& tip);
    void modify(const std::wstring& tip);
    void remove();
    void setIcon(HICON icon) { icon_ = icon; }
    bool shown() const { return shown_; }

private:
    bool send(DWORD message, const std::wstring& tip);
    HWND receiver_;
    UINT callbackMessage_;
    HICON icon_;
    bool shown_ = false;
};

}  // namespace kolvi::win32
