#pragma once
// The notification-area icon. Every call fills a fresh record; the icon
// remembers whether the shell holds it, and takes itself away when it goes.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace kolvi::win32 {

class TrayIcon {
public:
    // Shell_NotifyIconW's shape; tests hand in a shell of their own.
    using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);

    // notify null: the shell's Shell_NotifyIconW.
    TrayIcon(HWND receiver, UINT callbackMessage, HICON icon, NotifyFunction notify = nullptr);
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { remove(); }

    // False when the shell refused (it may not be running yet). A shell
    // that still holds the icon refuses to add it again (a restarted tray
    // may ask for icons it already has); the icon is then updated instead.
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
    NotifyFunction notify_;
    bool shown_ = false;
};

}  // namespace kolvi::win32
