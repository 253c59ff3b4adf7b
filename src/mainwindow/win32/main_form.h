#pragma once
// The main window: the alarm list in a virtual (owner-data) report list
// view, the status bar, the menus, the alarm check timer and the tray icon.
// Every decision is made by the portable main-window and store code; this
// class turns Win32 events into calls on it and renders the results.
#include <windows.h>

#include <cstddef>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "mainwindow/menu_model.h"
#include "mainwindow/tray_icon_state.h"
#include "mainwindow/window_settings.h"
#include "notify/win32/sound_form.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/sound_device.h"
#include "platform/system_actions.h"
#include "platform/win32/notify_icon.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/window_base.h"
#include "schedule/alarm_check.h"
#include "settings/settings_file.h"
#include "store/alarm_file.h"
#include "store/alarm_list.h"

namespace kolvi {

struct MainFormServices {
    AlarmList& list;
    const AlarmFileContext& files;
    SettingsFile& settings;
    Desktop& desktop;
    const Clock& clock;
    SystemActions& system;
    SoundDevice& sound;
};

class MainForm final : public win32::WindowBase, private AlarmCheckHost {
public:
    explicit MainForm(const MainFormServices& services);
    ~MainForm() override;

    // Start-up: reads the settings, creates the window hidden at its stored
    // place, opens the remembered alarm file (or `path` when given), applies
    // the stored sort, widths and view options, and shows the window in its
    // stored state (straight into the tray with `minimizedStart`).
    bool start(bool minimizedStart, const std::string& path = "");

    HWND listView() const { return list_; }
    HWND statusBar() const { return status_; }
    HMENU popupMenus() const { return popupMenus_.get(); }
    HFONT font() const { return font_.get(); }
    UINT dpi() const { return dpi_; }
    HACCEL accelerators() const { return accelerators_; }
    bool alarmTimerRunning() const { return alarmTimerRunning_; }
    const TrayIconState& tray() const { return tray_; }

    void showFileState(const std::string& openedPath);
    void refreshList();
    void applyAlarmSwitch(bool allow);
    // Ends the program without asking: every notification window closes
    // (its sound stops, nothing is extended), then the main window unloads
    // (settings written).
    void exitProgram();

    // Carries out one alarm line: mode 0 an alarm fired, 1 a preview.
    void runAlarm(const std::string& line, int mode);
    // Keys for the notification windows and their dialog navigation; true
    // when the message was used.
    bool preTranslateMessage(MSG& message);
    std::size_t openNotificationWindows() const { return soundForms_.size(); }
    const SoundForm* notificationWindow(std::size_t i) const;
    // The tool-tip text for a point of the list (empty: no tip).
    std::string toolTipTextAt(POINT listPoint) const;
    void alarmTimer_Timer();

    // Events of the list, also reachable from tests. `column` is the header
    // index counted from 1 (1 is the number column).
    void alarmList_ColumnClick(int column);
    void alarmList_ItemCheck(std::size_t position);

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    static LRESULT CALLBACK listSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data);

    LRESULT form_Create();
    void form_Resize(WPARAM kind);
    LRESULT form_DpiChanged(UINT dpi, const RECT& suggested);
    LRESULT form_Notify(NMHDR& header);
    LRESULT form_Command(int id, bool fromAccelerator);
    bool form_QueryUnload();
    void form_Unload();
    void notifyIcon_MouseMove(UINT mouseMessage);
    void trayRefresh_Timer();
    void runAlarm(const std::string& line) override { runAlarm(line, 0); }
    void save() override;
    void soundForm_Closed(SoundForm& form);
    void closeNotificationWindows();
    void addExtension(const std::string& line);
    LRESULT toolTip_GetDispInfo(NMHDR& header);

    LRESULT alarmList_GetDispInfo(NMHDR& header);
    LRESULT alarmList_ColumnClickNotify(NMHDR& header);
    LRESULT alarmList_ItemChanged(NMHDR& header);
    LRESULT statusBar_DblClick(NMHDR& header);
    void alarmList_MouseDown(POINT at);
    void alarmList_MouseUp(POINT at);
    void alarmList_KeyboardMenu();

    // Commands.
    void fileNew_Click();
    void fileOpen_Click();
    void fileSaveAs_Click();
    void fileDateTime_Click();
    void fileVolume_Click();
    void viewStatus_Click();
    void viewToolTip_Click();
    void alarmEnable_Click();
    void alarmDelete_Click();
    void helpReadme_Click();
    void helpAbout_Click();
    void alarmPreview_Click();
    void trayPopupSize_Click();

    void showListPopup(MenuItem defaultItem, bool atPoint, POINT clientPoint);
    MainWindowState windowState() const;
    void renderMenus();
    void applyFont();
    void applyColumnWidths();
    void readColumnWidthsFromControl();
    void refreshHeaders();
    void syncSelection();
    void layoutList();
    void setFirstPanel(std::string_view text);
    void setTrayRefresh(bool enabled);
    int scale(int logicalPixels) const;
    std::string readmePath() const;

    AlarmList& model_;
    const AlarmFileContext& files_;
    SettingsFile& settings_;
    Desktop& desktop_;
    const Clock& clock_;
    SystemActions& system_;
    SoundDevice& sound_;
    AlarmCheck check_;
    std::list<std::unique_ptr<SoundForm>> soundForms_;
    HWND toolTip_ = nullptr;
    std::wstring toolTipText_;
    int hoveredRow_ = -1;
    bool exitPosted_ = false;
    std::optional<std::string> firedSecond_;  // the second in which a row last fired

    HWND list_ = nullptr;
    HWND status_ = nullptr;
    HMENU menu_ = nullptr;  // owned by the window
    win32::UniqueMenu popupMenus_;
    HACCEL accelerators_ = nullptr;
    win32::UniqueFont font_;
    HICON icon_ = nullptr;
    UINT dpi_ = 96;
    UINT taskbarCreated_ = 0;
    std::optional<win32::NotifyIcon> trayIcon_;

    TrayIconState tray_;
    bool alarmSwitchOn_ = true;  // the master switch, on at every start
    bool alarmTimerRunning_ = false;
    bool allowAlarmCheck_ = true;  // false while a preview (or the editor) is open
    int checkIntervalMs_ = 250;
    bool statusBarVisible_ = true;
    bool toolTipsOn_ = false;
    bool syncing_ = false;  // selection changes made by us, not the user
    bool unloaded_ = false;
};

}  // namespace kolvi
