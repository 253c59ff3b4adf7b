#pragma once
// The command words an alarm's file field may hold instead of a file. The
// whole field is compared after ASCII lower-casing and without trimming, so
// "EXIT" is a command and " exit" is a file name. Only "sendkeys " is a
// prefix (with exactly one blank); the keys after it keep their case.
#include <functional>
#include <optional>
#include <string_view>

#include "platform/system_actions.h"

namespace kolvi {

inline constexpr std::string_view kSendKeysPrefix = "sendkeys ";

// True when runControlCommand would recognise the text.
bool isControlCommand(std::string_view text);

// Carries out a recognised command and returns true; returns false, having
// done nothing, for any other text. "exit" calls exitProgram. A "sendkeys "
// text whose keys do not parse is still a command: it types nothing, as does
// one with no keys at all. Nothing waits for the action or reports on it.
bool runControlCommand(std::string_view text, SystemActions& actions, const std::function<void()>& exitProgram);

// The commands that end the session or the machine, which an alarm may be
// given time to cancel.
enum class PowerAction { logOff, powerOff, reboot };
// The power action of a log-off, shut-down or reboot word; nullopt for every
// other text (lock, sendkeys and exit included), which runs at once.
std::optional<PowerAction> delayedPowerAction(std::string_view text);
// Asks for it, as runControlCommand does for its word.
void runPowerAction(PowerAction action, SystemActions& actions);

}  // namespace kolvi
