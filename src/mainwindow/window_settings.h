#pragma once
// The main window's keys of the settings file: read at start-up, written back
// at every exit, and the few read at other moments (the timer periods, the
// close question). Also how the program starts: shown or in the tray.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "mainwindow/list_settings.h"
#include "mainwindow/tray_icon_state.h"
#include "settings/settings_file.h"

namespace kolvi {

struct WindowSettings {
    WindowState state = WindowState::normal;
    // Normal-window geometry in twips (convert with the window's dpi).
    int left = 0;
    int top = 0;
    int width = 7000;
    int height = 3500;
    int alpha = 255;  // opacity, 0-255; read only, never written
    ListSettings list;
    bool showToolTip = false;
    bool statusBarVisible = true;
};

// Every window, list and statusbar key, with the defaults. A hand edit out
// of range reads as: state other than 0, 1, 2 -> 0; arpha clamped to 0-255;
// a width or height of zero or less -> the default; list keys as
// readListSettings. Flags count as on for the value 1 only.
WindowSettings loadWindowSettings(const SettingsFile& settings);

// Writes exactly the keys the program keeps, in this order: window/state,
// left, top, width, height; list/sortkey, sortorder, colwidth1-6, lastopen
// (the file tag, trimmed), showtooltip; statusbar/visible. Numbers in plain
// decimal. The window's opacity is not written. Failed writes are ignored,
// as a read-only program directory must not stop the exit. keepLastOpen
// leaves lastopen as it is (the remembered file could not be opened at
// start, and the user has not changed files since).
void saveWindowSettings(SettingsFile& settings, const WindowSettings& window, std::string_view fileTag,
                        bool keepLastOpen = false);

// time/interval in milliseconds (default 250): below 0 -> 0, which leaves the
// check stopped; above 65535 -> 65535.
int readCheckInterval(const SettingsFile& settings);

// window/trayrefreshinterval, given in seconds (default 0, off), as the
// timer's period in milliseconds: below 0 -> 0; periods up to one day are
// honoured and longer ones taken as one day.
std::uint32_t readTrayRefreshPeriod(const SettingsFile& settings);

// Where a close comes from. Only the window's own close command (title-bar
// button, system menu, Alt+F4) may ask; the File and tray menus' exit, the
// exit command of an alarm and the end of the Windows session never do.
enum class CloseSource { closeCommand, programExit, sessionEnd };
// True when confirmClose must ask kCloseConfirmText before closing: only for
// the close command, and only while window/closeconfirm, read afresh each
// time, is not 0.
bool closeNeedsConfirmation(CloseSource source, const SettingsFile& settings);

// The program's arguments (without the program name) ask to start in the
// tray: exactly one argument, exactly "min" (case counts).
bool isMinimizedStartArgument(std::span<const std::string> arguments);

struct StartPlan {
    // The state the window is shown in, now or when it comes back from the
    // tray (hand it to TrayIconState).
    WindowState shownState = WindowState::normal;
    bool startInTray = false;  // minimise at once, straight into the tray
    friend bool operator==(const StartPlan&, const StartPlan&) = default;
};
StartPlan startPlan(WindowState storedState, bool minimizedArgument);

}  // namespace kolvi
