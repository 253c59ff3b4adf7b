#include "command/control_command.h"

#include <optional>
#include <string>

#include "command/send_keys.h"
#include "text/ascii.h"

namespace kolvi {
namespace {

enum class Command { exit, sendKeys, lock, logOff, powerOff, reboot };

struct Word {
    std::string_view text;
    Command command;
};

// The suffixes name operating-system generations; every pair does the same
// thing on the systems we run on.
constexpr Word kWords[] = {
    {"lock", Command::lock},           {"logoff98", Command::logOff},     {"logoffme", Command::logOff},
    {"logoff2k", Command::logOff},     {"logoffxp", Command::logOff},     {"shutdown95", Command::powerOff},
    {"shutdown98", Command::powerOff}, {"shutdownme", Command::powerOff}, {"shutdown2k", Command::powerOff},
    {"shutdownxp", Command::powerOff}, {"reboot95", Command::reboot},     {"reboot98", Command::reboot},
    {"rebootme", Command::reboot},     {"reboot2k", Command::reboot},     {"rebootxp", Command::reboot},
};

std::optional<Command> recognise(std::string_view text) {
    const std::string low = toAsciiLower(text);
    if (low == "exit") return Command::exit;
    if (low.starts_with(kSendKeysPrefix)) return Command::sendKeys;
    for (const Word& word : kWords) {
        if (low == word.text) return word.command;
    }
    return std::nullopt;
}

std::optional<PowerAction> powerActionOf(Command command) {
    switch (command) {
    case Command::logOff:
        return PowerAction::logOff;
    case Command::powerOff:
        return PowerAction::powerOff;
    case Command::reboot:
        return PowerAction::reboot;
    default:
        return std::nullopt;
    }
}

}  // namespace

bool isControlCommand(std::string_view text) { return recognise(text).has_value(); }

std::optional<PowerAction> delayedPowerAction(std::string_view text) {
    const std::optional<Command> command = recognise(text);
    return command ? powerActionOf(*command) : std::nullopt;
}

void runPowerAction(PowerAction action, SystemActions& actions) {
    switch (action) {
    case PowerAction::logOff:
        actions.logOff();
        break;
    case PowerAction::powerOff:
        actions.powerOff();
        break;
    case PowerAction::reboot:
        actions.reboot();
        break;
    }
}

bool runControlCommand(std::string_view text, SystemActions& actions, const std::function<void()>& exitProgram) {
    const std::optional<Command> command = recognise(text);
    if (!command) return false;
    switch (*command) {
    case Command::exit:
        if (exitProgram) exitProgram();
        break;
    case Command::sendKeys:
        if (const auto keys = parseSendKeys(text.substr(kSendKeysPrefix.size())); keys && !keys->empty()) {
            actions.typeKeys(*keys);
        }
        break;
    case Command::lock:
        actions.lockWorkStation();
        break;
    case Command::logOff:
    case Command::powerOff:
    case Command::reboot:
        runPowerAction(*powerActionOf(*command), actions);
        break;
    }
    return true;
}

}  // namespace kolvi
