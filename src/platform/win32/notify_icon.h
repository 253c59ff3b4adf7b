#pragma once
// The notification-area icon. Every call fills a fresh record; the shell's
// answers are not needed (deleting an icon that is not there is harmless).
#include <windows.h>

#include <string>

namespace kolvi::win32 {

class NotifyIcon {
public:
    NotifyIcon(HWND receiver, UINT callbackMessage, HICON icon);
    void add(const std::wstring& tip);
    void modify(const std::wstring& tip);
    void remove();

private:
    void send(DWORD message, const std::wstring& tip);
    HWND receiver_;
    UINT callbackMessage_;
    HICON icon_;
};

}  // namespace kolvi::win32
