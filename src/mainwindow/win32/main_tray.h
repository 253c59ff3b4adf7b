#pragma once
// The main window's notification-area icon: the icon itself, its state, the
// refresh and retry timers, the shell's restart, the mouse on the icon and
// the tray menu. It tells the window when the user asks for it back; the
// menu's commands reach the window as commands.
#include <windows.h>

#include <functional>
#include <memory>

#include "mainwindow/next_alarm_line.h"
#include "mainwindow/tray_icon_state.h"
#include "platform/win32/tray_icon.h"
#include "platform/win32/unique_handle.h"
#include "store/alarm_list.h"

namespace kolvi {

class MainTray {
public:
    // The tip is made from the list's file and the next-alarm line; notify
    // null: the shell's own call.
    MainTray(const AlarmList& alarms, const NextAlarmLine& nextLine, win32::TrayIcon::NotifyFunction notify = nullptr)
        : alarms_(alarms), nextLine_(nextLine), notify_(notify) {}

    // window: the receiver of the icon's messages and the menu's commands;
    // menu: the tray menu, whose first item is the default; restore: called
    // on a double click on the icon.
    void create(HWND window, HMENU menu, HICON icon, TrayIconState state, std::function<void()> restore);

    // The icon's callback, TaskbarCreated and the tray's timers; false for
    // every other message.
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The window was resized to `state`: minimised, it goes into the tray.
    void onResize(WindowState state);
    // Out of the tray: the icon goes; the state to show the window in.
    WindowState restore();
    // The tip is brought up to date (sent only when it changed).
    void updateTip();
    void setIcon(HICON icon);
    // The exit: the timers stop and the icon goes; true when the window
    // lived in the tray.
    bool beginExit();

    const TrayIconState& state() const { return state_; }

private:
    void addIcon();
    void notifyIcon_MouseMove(UINT mouseMessage);
    void trayRefresh_Timer();
    void trayRetry_Timer();

    const AlarmList& alarms_;
    const NextAlarmLine& nextLine_;
    win32::TrayIcon::NotifyFunction notify_;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    std::function<void()> restore_;
    UINT taskbarCreated_ = 0;
    TrayIconState state_;
    std::unique_ptr<win32::TrayIcon> icon_;
    win32::WindowTimer refresh_{2};
    win32::WindowTimer retry_{3};
};

}  // namespace kolvi
