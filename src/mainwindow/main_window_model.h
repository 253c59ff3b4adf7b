#pragma once
// The main window's own state, and the decisions its handlers make that are
// not about Win32: the master switch and the pause of the alarm check, the
// view options, the end of the program, the header-click rule.
#include <optional>
#include <utility>

#include "mainwindow/menu_model.h"
#include "mainwindow/running_state.h"
#include "platform/desktop.h"
#include "store/alarm_list.h"

namespace kolvi {

class MainWindowModel {
public:
    explicit MainWindowModel(int checkIntervalMs = 250, bool statusBarVisible = true, bool toolTipsOn = false);

    // The alarm check runs while the master switch (alarmEnable, on at every
    // start) is on and nothing has paused it. The editor and a preview each
    // pause it while they are open; pauses nest (the editor's own preview),
    // and the check comes back when the last one ends.
    AlarmSwitchDecision toggleAlarmSwitch();
    AlarmSwitchDecision pause();
    AlarmSwitchDecision resume();
    // The decision as it stands, for a repaint (new system colours).
    AlarmSwitchDecision alarmSwitch() const;
    bool alarmSwitchOn() const { return alarmSwitchOn_; }
    bool checkRunning() const { return alarmSwitch().timerRunning; }
    int checkIntervalMs() const { return checkIntervalMs_; }

    bool statusBarVisible() const { return statusBarVisible_; }
    bool toolTipsOn() const { return toolTipsOn_; }
    void toggleStatusBar() { statusBarVisible_ = !statusBarVisible_; }
    void toggleToolTips() { toolTipsOn_ = !toolTipsOn_; }

    // What the menus' rules look at.
    MainWindowState menuState(const AlarmList& alarms, bool readmeExists) const;

    // The program is to end: true the first time only, so that it is posted
    // once however many ways ask for it.
    bool requestExit() { return !std::exchange(exitRequested_, true); }
    // The window unloads: true the first time only (several messages lead there).
    bool beginUnload() { return !std::exchange(unloaded_, true); }

    // The remembered file could not be opened at start (missing, locked,
    // refused). Until the user opens, creates, saves as or closes a file,
    // the exit keeps it remembered: a file on a stick or a share that was
    // away for a moment opens again next time.
    void rememberStart(bool rememberedFileFailed) { keepRememberedFile_ = rememberedFileFailed; }
    void fileCommandUsed() { keepRememberedFile_ = false; }
    bool keepRememberedFile() const { return keepRememberedFile_; }

private:
    int checkIntervalMs_;
    int pauseDepth_ = 0;
    bool alarmSwitchOn_ = true;
    bool statusBarVisible_;
    bool toolTipsOn_;
    bool exitRequested_ = false;
    bool unloaded_ = false;
    bool keepRememberedFile_ = false;
};

// A header click sorts by that column, toggling the order when it is the
// sort column already; the number column (subitem 0) only follows the order
// and is never a target: nullopt.
std::optional<Column> sortColumnForHeaderClick(int subitem);

// The volume control of the system: the present one, else its older name.
void startVolumeControl(Desktop& desktop);

}  // namespace kolvi
