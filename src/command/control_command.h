#pragma once
// The command words an alarm's file field may hold instead of a file. The
// whole field is compared after ASCII lower-casing and without trimming, so
// "EXIT" is a command and " exit" is a file name. Only "sendkeys " is a
// prefix (with exactly one blank); the keys after it keep their case.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system_actions.h"

namespace kolvi {

inline constexpr std::string_view kSendKeysPrefix = "sendkeys ";

// The commands that end the session or the machine, which an alarm may be
// given time to cancel.
enum class PowerAction { logOff, powerOff, reboot };

// A recognised command word, parsed once and carried whole to where it runs.
struct ControlCommand {
    enum class Kind { exit, keys, lock, power };
    Kind kind = Kind::exit;
    std::string keys;                           // keys: the text after the prefix, as written
    PowerAction power = PowerAction::powerOff;  // power: which one
    friend bool operator==(const ControlCommand&, const ControlCommand&) = default;
};

// nullopt for any text that is not a command word (then it names a file).
std::optional<ControlCommand> parseControlCommand(std::string_view text);

// Carries the command out. "exit" calls exitProgram. Keys that do not parse
// type nothing, as do no keys at all. Nothing waits for the action or
// reports on it.
void runControlCommand(const ControlCommand& command, SystemActions& actions, const std::function<void()>& exitProgram);

// Asks for it, as runControlCommand does for its word.
void runPowerAction(PowerAction action, SystemActions& actions);

}  // namespace kolvi
