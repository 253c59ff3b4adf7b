#include "mainwindow/running_state.h"

#include "texts/common_texts.h"

namespace kolvi {

AlarmSwitchDecision decideAlarmSwitch(bool allow, bool masterSwitchOn, int checkIntervalMs) {
    const bool runs = allow && masterSwitchOn && checkIntervalMs > 0;
    if (runs) return {true, std::nullopt, SystemColor::window};
    return {false, kStatusAlarmStopped, SystemColor::buttonFace};
}

std::optional<std::string_view> firstPanelTextAfterFileState(bool fileOpen, bool timerRunning) {
    if (timerRunning && !fileOpen) return kStatusNoFile;
    return std::nullopt;
}

}  // namespace kolvi
