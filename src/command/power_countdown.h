#pragma once
// The countdown before an alarm logs off, shuts down or restarts: a small
// topmost window says what will happen in how many seconds, and offers to run
// it at once or to cancel it. This is its state; the window shows text(),
// calls tick() every second and closes once done().
#include <optional>
#include <string>
#include <string_view>

#include "command/control_command.h"
#include "platform/system_actions.h"

namespace kolvi {

// "<name>: 30秒後にシャットダウンします。" (再起動します。/ ログオフします。);
// without a name, the text starts at the seconds.
std::string powerCountdownText(std::string_view name, PowerAction action, int secondsLeft);

class PowerCountdown {
public:
    // seconds: the settings' alarm/actiondelay, above 0 (0 runs the command
    // at once, without a countdown).
    PowerCountdown(std::string name, PowerAction action, int seconds);

    const std::string& text() const { return text_; }
    int secondsLeft() const { return secondsLeft_; }
    // The action ran or was cancelled: close the window.
    bool done() const { return done_; }

    // A second passed: one less to go, and at zero the action runs. Returns
    // true when text() changed.
    bool tick(SystemActions& actions);
    // "今すぐ実行".
    void runNow(SystemActions& actions);
    // "キャンセル", Escape, the close box or the program ending: nothing runs,
    // now or later.
    void cancel() { done_ = true; }

private:
    void run(SystemActions& actions);

    std::string name_;
    PowerAction action_;
    int secondsLeft_;
    std::string text_;
    bool done_ = false;
};

// What the alarm action does with a control command: a countdown when it is
// a power action and the delay is above 0, else nullopt (runControlCommand
// at once, as always).
std::optional<PowerCountdown> guardPowerCommand(const ControlCommand& command, std::string_view name,
                                                int delaySeconds);

}  // namespace kolvi
