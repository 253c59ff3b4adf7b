#pragma once
// Whether the alarm check runs, and how the window shows it.
#include <optional>
#include <string_view>

namespace kolvi {

// System colour indexes (GetSysColor) of the list's background.
enum class SystemColor : int {
    window = 5,       // COLOR_WINDOW: the check runs
    buttonFace = 15,  // COLOR_BTNFACE: the check is stopped
};

struct AlarmSwitchDecision {
    bool timerRunning = false;
    // The first status panel's new text, or nullopt to leave it for the
    // check's next tick to write.
    std::optional<std::string_view> firstPanelText;
    SystemColor listBackground = SystemColor::buttonFace;
    friend bool operator==(const AlarmSwitchDecision&, const AlarmSwitchDecision&) = default;
};

// What applyAlarmSwitch(allow) renders. allow is false while the editor or a
// preview is open; with allow true the check runs only if the master switch
// (the check mark of alarmEnable) is on. A check period of 0 ms or less also
// stops it: such a timer would never tick (and Windows would turn a zero
// period into its shortest one), so the window says plainly that it is
// stopped.
AlarmSwitchDecision decideAlarmSwitch(bool allow, bool masterSwitchOn, int checkIntervalMs);

// The first panel's text right after showFileState. With no file open the
// running check writes kStatusNoFile on every tick and checks nothing; it is
// written at once so the panel never shows a stale time or name meanwhile.
// A stopped check keeps its kStatusAlarmStopped (nullopt), and with a file
// open the next tick writes the time (nullopt).
std::optional<std::string_view> firstPanelTextAfterFileState(bool fileOpen, bool timerRunning);

}  // namespace kolvi
