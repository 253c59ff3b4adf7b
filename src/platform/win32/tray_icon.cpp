#include "platform/win32/tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "platform/win32/system_library.h"

namespace kolvi::win32 {

TrayIcon::TrayIcon(HWND receiver, UINT callbackMessage, HICON icon, NotifyFunction notify)
    : receiver_(receiver), callbackMessage_(callbackMessage), icon_(icon), notify_(notify) {}

bool TrayIcon::add(const std::wstring& tip) {
    shown_ = send(NIM_ADD, tip) || send(NIM_MODIFY, tip);
    return shown_;
}

void TrayIcon::modify(const std::wstring& tip) {
    if (shown_) send(NIM_MODIFY, tip);
}

void TrayIcon::remove() {
    // Deleting an icon the shell does not hold is harmless, so this does not
    // depend on the bookkeeping.
    send(NIM_DELETE, L"");
    shown_ = false;
}

bool TrayIcon::send(DWORD message, const std::wstring& tip) {
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
    if (notify_ == nullptr) notify_ = shell32().function<decltype(Shell_NotifyIconW)>("Shell_NotifyIconW");
    return notify_ != nullptr && notify_(message, &data) != FALSE;
}

}  // namespace kolvi::win32
