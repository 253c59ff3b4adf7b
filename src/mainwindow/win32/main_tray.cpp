#include "mainwindow/win32/main_tray.h"

#include "platform/win32/text.h"

namespace kolvi {
namespace {

constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kTrayRetryMs = 2000;

// The portable rules name the icon's mouse messages as Windows does.
static_assert(trayMouse::kMove == WM_MOUSEMOVE && trayMouse::kLeftDoubleClick == WM_LBUTTONDBLCLK &&
              trayMouse::kRightButtonUp == WM_RBUTTONUP);

}  // namespace

void MainTray::create(HWND window, HMENU menu, HICON icon, TrayIconState state, std::function<void()> restore) {
    window_ = window;
    menu_ = menu;
    restore_ = std::move(restore);
    state_ = std::move(state);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    icon_ = std::make_unique<win32::TrayIcon>(window, kTrayCallback, icon, notify_);
}

bool MainTray::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (icon_ == nullptr) return false;
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // The shell restarted and forgot every icon (or, starting, asks for
        // those it already has).
        if (state_.onTaskbarCreated()) addIcon();
        return true;
    }
    if (message == kTrayCallback) {
        notifyIcon_MouseMove(LOWORD(lParam));
        return true;
    }
    if (message != WM_TIMER) return false;
    if (wParam == refresh_.id()) trayRefresh_Timer();
    if (wParam == retry_.id()) trayRetry_Timer();
    return wParam == refresh_.id() || wParam == retry_.id();
}

void MainTray::onResize(WindowState state) {
    const TrayIconState::ResizeActions actions = state_.onResize(state);
    if (actions.addIcon) addIcon();
    if (actions.hideWindow) ShowWindow(window_, SW_HIDE);
    if (actions.refreshTimerEnabled) {
        if (*actions.refreshTimerEnabled && state_.refreshPeriodMs() > 0) {
            refresh_.start(window_, state_.refreshPeriodMs());
        } else {
            refresh_.stop();
        }
    }
}

WindowState MainTray::restore() {
    icon_->remove();
    return state_.restore();
}

void MainTray::updateTip() {
    if (const auto tip = state_.updateTip(alarms_.tag(), nextLine_.line()); tip && icon_->shown()) {
        icon_->modify(win32::widen(fitTrayTip(*tip)));
    }
}

void MainTray::setIcon(HICON icon) {
    // The tray keeps the old icon until it is handed the new one.
    icon_->setIcon(icon);
    if (icon_->shown()) icon_->modify(win32::widen(fitTrayTip(state_.tip())));
}

bool MainTray::beginExit() {
    const bool inTray = state_.inTray();
    state_.beginExit();
    refresh_.stop();
    retry_.stop();
    if (icon_) icon_->remove();
    return inTray;
}

void MainTray::addIcon() {
    if (icon_->add(win32::widen(fitTrayTip(state_.tip())))) {
        state_.iconAdded();
        retry_.stop();
    } else if (state_.retryAdd()) {
        retry_.start(window_, kTrayRetryMs);
    } else {
        retry_.stop();
    }
}

void MainTray::trayRetry_Timer() {
    if (state_.inTray() && !icon_->shown()) {
        addIcon();
    } else {
        retry_.stop();
    }
}

void MainTray::trayRefresh_Timer() {
    if (!state_.onRefreshTimer()) return;
    icon_->remove();
    addIcon();
}

void MainTray::notifyIcon_MouseMove(UINT mouseMessage) {
    switch (trayCallbackAction(mouseMessage)) {
    case TrayCallbackAction::updateTip:
        updateTip();
        break;
    case TrayCallbackAction::restore:
        restore_();
        break;
    case TrayCallbackAction::openMenu: {
        SetMenuDefaultItem(menu_, 0, TRUE);
        POINT at{};
        GetCursorPos(&at);
        // Without the foreground the menu would not close when clicked away;
        // without a message after it, the next click on the icon would not
        // open it again (the documented pair for notification-area menus).
        SetForegroundWindow(window_);
        TrackPopupMenu(menu_, TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
        PostMessageW(window_, WM_NULL, 0, 0);
        break;
    }
    case TrayCallbackAction::ignore:
        break;
    }
}

}  // namespace kolvi
