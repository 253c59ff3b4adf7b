#pragma once
// The main window: composes the alarm list view, the alarm runner, the tray
// icon and the status bar, owns the menus and the alarm check timer, and
// carries out the menu commands. Decisions are made by MainWindowModel, the
// menu rules and the store; this class turns Win32 events into calls on
// them and renders the results.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "editor/win32/config_form.h"
#include "mainwindow/main_window_model.h"
#include "mainwindow/menu_model.h"
#include "mainwindow/win32/alarm_list_view.h"
#include "mainwindow/win32/main_menu_state.h"
#include "mainwindow/win32/main_remote.h"
#include "mainwindow/win32/main_status_bar.h"
#include "mainwindow/win32/main_tray.h"
#include "mainwindow/win32/missed_form.h"
#include "notify/alarm_audio.h"
#include "notify/win32/alarm_runner.h"
#include "platform/audio_output.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/sound_device.h"
#include "platform/startup_registry.h"
#include "platform/system_actions.h"
#include "platform/wake_timer.h"
#include "platform/win32/app_icon.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/window_base.h"
#include "schedule/alarm_check.h"
#include "schedule/wake_schedule.h"
#include "settings/settings_file.h"
#include "store/alarm_file.h"
#include "store/alarm_list.h"

namespace kolvi {

// The main window's class: a second start finds the running copy by it.
inline constexpr wchar_t kMainFormClassName[] = L"KolviAlarmMainForm";

struct MainFormServices {
    AlarmList& alarms;
    const AlarmFileContext& files;
    SettingsFile& settings;
    Desktop& desktop;
    const Clock& clock;
    SystemActions& system;
    SoundDevice& sound;
    // Wakes the machine for the next alarm while alarm/wake is 1; none when null.
    WakeTimer* wakeTimer = nullptr;
    // The shell's notification-area call; Shell_NotifyIconW when null.
    win32::TrayIcon::NotifyFunction notifyIcon = nullptr;
    // The default sound output; when null only a missing sound file is told.
    AudioOutput* audio = nullptr;
    // The Run entry behind the file menu's start-with-Windows item; none when null.
    StartupRegistry* startup = nullptr;
};

class MainForm final : public win32::WindowBase,
                       public win32::MessageFilter,
                       private AlarmCheckHost,
                       private AlarmListEvents,
                       private AlarmTarget,
                       private MainRemoteEvents {
public:
    explicit MainForm(const MainFormServices& services);
    ~MainForm() override;

    // Start-up: reads the settings, creates the window hidden at its stored
    // place, opens the remembered alarm file (or `path` when given), applies
    // the stored sort, widths and view options, and shows the window in its
    // stored state (straight into the tray with `minimizedStart`).
    bool start(bool minimizedStart, const std::string& path = "");

    // A request of the command line (its words from "/timer" or "/alarm"
    // on): read again, then added as the editor adds an alarm, and saved.
    // A sender waiting in WM_COPYDATA has its answer once the row is saved,
    // before any other box shows.
    RemoteAnswer addRequest(std::span<const std::string> words);

    // The program's message loop asks here first: the notification windows'
    // keys, then the main window's shortcuts.
    bool preTranslateMessage(MSG& message) override;

    // Ends the program without asking: every notification window closes
    // (its sound stops, nothing is extended), then the main window unloads
    // (settings written).
    void exitProgram();

    // For tests: the parts and the state the window renders.
    HWND listView() const { return listView_.hwnd(); }
    HWND statusBar() const { return statusBar_.hwnd(); }
    HMENU popupMenus() const { return menus_.popups.get(); }
    // The dpi of the monitor the window is on.
    UINT dpi() const;
    bool alarmTimerRunning() const { return alarmTimer_.running(); }
    AlarmRunner& runner() { return runner_; }
    const MissedForm& missedAlarms() const { return missed_; }
    // The timer message of the alarm check (a tick while the check runs).
    static constexpr UINT_PTR kAlarmTimerId = 1;

private:
    // The command table names the handlers. It, renderMenus, menuState,
    // routeCommand, the context menu and commandId live in main_menus.cpp,
    // which this file does not include.
    friend struct MainFormCommands;
    static int commandId(MenuItem item);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    LRESULT form_Create();
    void form_Resize(WPARAM kind);
    LRESULT form_DpiChanged(UINT dpi, const RECT& suggested);
    LRESULT routeNotify(NMHDR& header);
    void routeCommand(int id, bool fromAccelerator);
    bool form_QueryUnload();
    void form_Unload();
    void alarmTimer_Timer();

    // AlarmCheckHost
    void runAlarm(const std::string& line) override;
    void saveAlarmFile() override;
    int missedGrace() override;
    void reportMissed(const std::vector<MissedAlarm>& missed) override;
    // AlarmTarget
    const AlarmList& alarms() const override { return alarms_; }
    void addExtension(const std::string& line) override;
    // AlarmListEvents
    void alarmList_ItemCheck(std::size_t position) override;
    void alarmList_ColumnClick(int subitem) override;
    void alarmList_ContextMenu(MenuItem defaultItem, std::optional<POINT> screenPoint) override;
    void alarmList_Activate() override;

    // Commands.
    void fileNew_Click();
    void fileOpen_Click();
    void fileSaveAs_Click();
    void fileClose_Click();
    void fileDateTime_Click();
    void fileVolume_Click();
    void fileStartup_Click();
    void viewStatus_Click();
    void viewToolTip_Click();
    void viewSortName_Click() { sortBy(Column::name); }
    void viewSortDay_Click() { sortBy(Column::days); }
    void viewSortTime_Click() { sortBy(Column::time); }
    void viewSortFile_Click() { sortBy(Column::file); }
    void viewSortDelete_Click() { sortBy(Column::deleteAfterRun); }
    void alarmEnable_Click();
    void alarmEdit_Click();
    void alarmDelete_Click();
    void alarmAdd_Click();
    void alarmPreview_Click();
    void helpReadme_Click();
    void helpAbout_Click();
    void trayPopupSize_Click();
    void trayPopupCancel_Click() {}
    void statusBar_DblClick() { fileDateTime_Click(); }
    // MainRemoteEvents
    RemoteAnswer remote_Request(std::span<const std::string> words) override;
    void hotKey_Pressed() override;
    void hotKey_Failed(std::string_view notice) override { statusBar_.showNotice(notice); }

    void addAlarm(EditorKind kind);
    void finishEditing();
    void armWakeTimer();
    bool alarmsOn() const;
    void showNextAlarm(bool changed);
    void showFileState(const std::string& openedPath);
    void sortBy(Column column);
    void applyAlarmSwitch(const AlarmSwitchDecision& decision);
    MainWindowState menuState() const;
    void renderMenus();
    void applyFont(UINT dpi);
    void layoutList();
    std::string readmePath() const;

    AlarmList& alarms_;
    const AlarmFileContext& files_;
    SettingsFile& settings_;
    Desktop& desktop_;
    const Clock& clock_;
    MainWindowModel model_;
    AlarmCheck check_;
    AlarmAudio alarmAudio_;
    AlarmRunner runner_;
    ConfigForm editor_;
    AlarmListView listView_;

    MainMenuState menus_;
    win32::UniqueFont font_;
    win32::WindowIcons icons_;
    win32::WindowTimer alarmTimer_{kAlarmTimerId};
    MainStatusBar statusBar_;
    MainTray tray_;
    MissedForm missed_;
    WakeSchedule wake_;
    MainRemote remote_;
};

}  // namespace kolvi
