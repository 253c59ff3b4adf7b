#include "command/power_countdown.h"

#include <utility>

#include "texts/command_texts.h"

namespace kolvi {
namespace {

std::string_view willRunText(PowerAction action) {
    switch (action) {
    case PowerAction::logOff:
        return kLogOffWillRun;
    case PowerAction::reboot:
        return kRebootWillRun;
    case PowerAction::powerOff:
        break;
    }
    return kPowerOffWillRun;
}

}  // namespace

std::string powerCountdownText(std::string_view name, PowerAction action, int secondsLeft) {
    std::string text;
    if (!name.empty()) {
        text += name;
        text += ": ";
    }
    text += std::to_string(secondsLeft);
    text += kPowerSecondsAfter;
    return text += willRunText(action);
}

PowerCountdown::PowerCountdown(std::string name, PowerAction action, int seconds)
    : name_(std::move(name)), action_(action), secondsLeft_(seconds > 0 ? seconds : 0),
      text_(powerCountdownText(name_, action_, secondsLeft_)) {}

bool PowerCountdown::tick(SystemActions& actions) {
    if (done_) return false;
    if (secondsLeft_ > 0) --secondsLeft_;
    if (secondsLeft_ == 0) {
        run(actions);
        return false;
    }
    text_ = powerCountdownText(name_, action_, secondsLeft_);
    return true;
}

void PowerCountdown::runNow(SystemActions& actions) {
    if (!done_) run(actions);
}

void PowerCountdown::run(SystemActions& actions) {
    // Done before the call: ending the session may deliver further messages.
    done_ = true;
    runPowerAction(action_, actions);
}

std::optional<PowerCountdown> guardPowerCommand(const ControlCommand& command, std::string_view name,
                                                int delaySeconds) {
    if (command.kind != ControlCommand::Kind::power || delaySeconds <= 0) return std::nullopt;
    return PowerCountdown(std::string(name), command.power, delaySeconds);
}

}  // namespace kolvi
