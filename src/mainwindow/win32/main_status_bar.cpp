#include "mainwindow/win32/main_status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace kolvi {
namespace {

// How long a notice (the hot key could not be registered) holds the first
// panel before the check's own text comes back.
constexpr ULONGLONG kNoticeMs = 10000;

}  // namespace

bool MainStatusBar::create(HWND parent, int id, HFONT font) {
    hwnd_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) return false;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

void MainStatusBar::setFont(HFONT font) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    lineWidth_ = nextLineWidth();
}

void MainStatusBar::setVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }

bool MainStatusBar::visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

int MainStatusBar::layout(int width) {
    width_ = width;
    SendMessageW(hwnd_, WM_SIZE, 0, 0);  // the status bar places itself
    // The next alarm, when shown, has the second panel: as wide as its line,
    // never under 2/5 of the bar; the first panel has the rest.
    int borders[3] = {};
    SendMessageW(hwnd_, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int needed = lineWidth_ + 2 * (borders[0] + borders[2] + GetSystemMetrics(SM_CXEDGE)) +
                       GetSystemMetrics(SM_CXVSCROLL);  // the size grip
    const int second = std::min(width, std::max(width * 2 / 5, needed));
    const int parts[] = {nextLine_.shown() ? width - second : -1, -1};
    SendMessageW(hwnd_, SB_SETPARTS, parts[0] == -1 ? 1 : 2, reinterpret_cast<LPARAM>(parts));
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return rect.bottom - rect.top;
}

void MainStatusBar::setFirstPanel(std::string_view text) {
    SendMessageW(hwnd_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(win32::widen(text).c_str()));
}

void MainStatusBar::showStatus(std::string_view text) {
    if (GetTickCount64() >= noticeUntil_) setFirstPanel(text);
}

void MainStatusBar::showNotice(std::string_view text) {
    setFirstPanel(text);
    noticeUntil_ = GetTickCount64() + kNoticeMs;
}

bool MainStatusBar::followNextAlarm(const AlarmList& list, const LocalTime& now, std::uint64_t ms) {
    return showNextLine(soundCheck_.follow(nextLine_, list, now, ms));
}

bool MainStatusBar::clearNextAlarm() { return showNextLine(nextLine_.clear()); }

bool MainStatusBar::showNextLine(const std::optional<std::string>& line) {
    if (!line) return false;
    SendMessageW(hwnd_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(win32::widen(*line).c_str()));
    if (const int measured = nextLineWidth(); measured != lineWidth_) {
        lineWidth_ = measured;
        layout(width_);
    }
    return true;
}

int MainStatusBar::nextLineWidth() const {
    const std::wstring text = win32::widen(nextLine_.line());
    const HDC dc = GetDC(hwnd_);
    if (dc == nullptr) return 0;
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return size.cx;
}

}  // namespace kolvi
