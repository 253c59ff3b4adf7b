#include "platform/win32/notify_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

namespace kolvi::win32 {

NotifyIcon::NotifyIcon(HWND receiver, UINT callbackMessage, HICON icon)
    : receiver_(receiver), callbackMessage_(callbackMessage), icon_(icon) {}

void NotifyIcon::add(const std::wstring& tip) { send(NIM_ADD, tip); }
void NotifyIcon::modify(const std::wstring& tip) { send(NIM_MODIFY, tip); }
void NotifyIcon::remove() { send(NIM_DELETE, L""); }

void NotifyIcon::send(DWORD message, const std::wstring& tip) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = receiver_;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = icon_;
    // The caller has already cut the tip to the field; this only guards it.
    const std::size_t n = std::min<std::size_t>(tip.size(), std::size(data.szTip) - 1);
    std::wmemcpy(data.szTip, tip.data(), n);
    data.szTip[n] = L'\0';
    Shell_NotifyIconW(message, &data);
}

}  // namespace kolvi::win32
