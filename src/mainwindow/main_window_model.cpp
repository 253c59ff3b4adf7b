#include "mainwindow/main_window_model.h"

namespace kolvi {
namespace {

constexpr char kVolumeProgram[] = "sndvol.exe";
constexpr char kOldVolumeProgram[] = "sndvol32.exe";

}  // namespace

MainWindowModel::MainWindowModel(int checkIntervalMs, bool statusBarVisible, bool toolTipsOn)
    : checkIntervalMs_(checkIntervalMs), statusBarVisible_(statusBarVisible), toolTipsOn_(toolTipsOn) {}

AlarmSwitchDecision MainWindowModel::alarmSwitch() const {
    return decideAlarmSwitch(pauseDepth_ == 0, alarmSwitchOn_, checkIntervalMs_);
}

AlarmSwitchDecision MainWindowModel::toggleAlarmSwitch() {
    alarmSwitchOn_ = !alarmSwitchOn_;
    return alarmSwitch();
}

AlarmSwitchDecision MainWindowModel::pause() {
    ++pauseDepth_;
    return alarmSwitch();
}

AlarmSwitchDecision MainWindowModel::resume() {
    if (pauseDepth_ > 0) --pauseDepth_;
    return alarmSwitch();
}

MainWindowState MainWindowModel::menuState(const AlarmList& alarms, bool readmeExists) const {
    MainWindowState state;
    state.fileOpen = alarms.isFileOpen();
    state.hasCurrentRow = alarms.hasCurrentRow();
    state.sortColumn = alarms.sortColumn();
    state.alarmSwitchOn = alarmSwitchOn_;
    state.statusBarVisible = statusBarVisible_;
    state.toolTipsOn = toolTipsOn_;
    state.readmeExists = readmeExists;
    return state;
}

std::optional<Column> sortColumnForHeaderClick(int subitem) {
    if (subitem <= static_cast<int>(Column::number) || subitem >= kColumnCount) return std::nullopt;
    return static_cast<Column>(subitem);
}

void startVolumeControl(Desktop& desktop) {
    if (!desktop.startSystemProgram(kVolumeProgram, "")) desktop.startSystemProgram(kOldVolumeProgram, "");
}

}  // namespace kolvi
