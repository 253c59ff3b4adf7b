#pragma once
// The notification-area icon: its tip, when the window goes into and comes
// back from the tray, and what the icon's mouse messages mean.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kolvi {

// The window states as the settings file and WM_SIZE number them
// (SIZE_RESTORED 0, SIZE_MINIMIZED 1, SIZE_MAXIMIZED 2).
enum class WindowState : int { normal = 0, minimized = 1, maximized = 2 };

// "Kolviアラーム", and when a file is open CR LF and the file tag's name part,
// then, when there is one, CR LF and the next-alarm line.
std::string trayTipText(std::string_view fileTag, std::string_view nextAlarm = {});

// The tip field of NOTIFYICONDATAW: 128 UTF-16 units, the NUL included.
inline constexpr std::size_t kTrayTipFieldUnits = 128;
// The longest start of a UTF-8 tip whose UTF-16 form and NUL fit a field of
// fieldUnits units. Never splits a character (so never a surrogate pair), and
// a cut tip never ends in a line break.
std::string fitTrayTip(std::string_view tip, std::size_t fieldUnits = kTrayTipFieldUnits);

// The mouse messages the icon reports in its callback's lParam (its low
// word, for any notify-icon version), numbered as Windows does.
namespace trayMouse {
inline constexpr std::uint32_t kMove = 0x0200;             // WM_MOUSEMOVE
inline constexpr std::uint32_t kLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr std::uint32_t kRightButtonUp = 0x0205;    // WM_RBUTTONUP
}  // namespace trayMouse
enum class TrayCallbackAction {
    updateTip,  // the pointer moves over the icon
    restore,    // double-click
    openMenu,   // right button released: the tray menu at the pointer, trayPopupSize default
    ignore,     // every other mouse message
};
TrayCallbackAction trayCallbackAction(std::uint32_t mouseMessage);

// The window's side of the tray, one per main window.
class TrayIconState {
public:
    // refreshPeriodMs: the trayRefresh timer's period, 0 for none.
    // shownState: the state a restore returns to until the window has been
    // shown once (normal, or maximised when started so).
    explicit TrayIconState(std::uint32_t refreshPeriodMs = 0, WindowState shownState = WindowState::normal);

    struct ResizeActions {
        bool addIcon = false;     // addTrayIcon with tip()
        bool hideWindow = false;  // hidden, so it leaves the taskbar too
        // Enable or disable trayRefresh; nullopt leaves it as it is.
        std::optional<bool> refreshTimerEnabled;
        friend bool operator==(const ResizeActions&, const ResizeActions&) = default;
    };
    // Second half of the resize handler, after the list's layout. Does
    // nothing once the exit has started (neither does the layout).
    ResizeActions onResize(WindowState state);

    // Restore from the tray (double-click, or trayPopupSize): delete the
    // icon, set the window to the returned state (its resize then records
    // it), show it and bring it to the foreground, then redraw.
    WindowState restore();

    // The pointer rests on the icon: the new tip when it differs from the one
    // last handed to the shell (send a modify), nullopt when equal (send
    // nothing).
    std::optional<std::string> updateTip(std::string_view fileTag, std::string_view nextAlarm = {});

    // trayRefresh ticked: true when the icon is to be deleted and added again.
    bool onRefreshTimer() const { return inTray_ && !exitStarted_; }
    // The shell restarted (TaskbarCreated): true when the icon must be added
    // again because the window lives in the tray.
    bool onTaskbarCreated() const { return inTray_ && !exitStarted_; }
    // The shell refused to add the icon (it may still be starting, as at
    // logon): true while another try is worth making, which is as long as
    // the window lives in the tray, for a limited number of tries; a hidden
    // window without an icon could not be reached at all.
    bool retryAdd() { return inTray_ && !exitStarted_ && ++failedAdds_ <= kMaxAddTries; }
    void iconAdded() { failedAdds_ = 0; }
    static constexpr int kMaxAddTries = 30;

    // Shut-down begins: from now on the resize handling does nothing; the
    // icon is to be deleted whatever the state.
    void beginExit();

    bool exitStarted() const { return exitStarted_; }
    bool inTray() const { return inTray_; }
    WindowState windowStateTmp() const { return windowStateTmp_; }
    // The tip last handed to the shell, uncut (fit it with fitTrayTip).
    const std::string& tip() const { return tip_; }
    std::uint32_t refreshPeriodMs() const { return refreshPeriodMs_; }

private:
    std::uint32_t refreshPeriodMs_;
    WindowState windowStateTmp_;
    std::string tip_;
    bool inTray_ = false;
    bool exitStarted_ = false;
    int failedAdds_ = 0;
};

}  // namespace kolvi
