#include "command/control_command.h"

#include "command/send_keys.h"
#include "text/ascii.h"

namespace kolvi {
namespace {

using Kind = ControlCommand::Kind;

struct Word {
    std::string_view text;
    Kind kind;
    PowerAction power;
};

// The suffixes name operating-system generations; every pair does the same
// thing on the systems we run on.
constexpr PowerAction kNoPower = PowerAction::powerOff;  // not read for lock
constexpr Word kWords[] = {
    {"lock", Kind::lock, kNoPower},
    {"logoff98", Kind::power, PowerAction::logOff},     {"logoffme", Kind::power, PowerAction::logOff},
    {"logoff2k", Kind::power, PowerAction::logOff},     {"logoffxp", Kind::power, PowerAction::logOff},
    {"shutdown95", Kind::power, PowerAction::powerOff}, {"shutdown98", Kind::power, PowerAction::powerOff},
    {"shutdownme", Kind::power, PowerAction::powerOff}, {"shutdown2k", Kind::power, PowerAction::powerOff},
    {"shutdownxp", Kind::power, PowerAction::powerOff}, {"reboot95", Kind::power, PowerAction::reboot},
    {"reboot98", Kind::power, PowerAction::reboot},     {"rebootme", Kind::power, PowerAction::reboot},
    {"reboot2k", Kind::power, PowerAction::reboot},     {"rebootxp", Kind::power, PowerAction::reboot},
};

}  // namespace

std::optional<ControlCommand> parseControlCommand(std::string_view text) {
    const std::string low = toAsciiLower(text);
    if (low == "exit") return ControlCommand{Kind::exit, {}, kNoPower};
    if (low.starts_with(kSendKeysPrefix)) {
        return ControlCommand{Kind::keys, std::string(text.substr(kSendKeysPrefix.size())), kNoPower};
    }
    for (const Word& word : kWords) {
        if (low == word.text) return ControlCommand{word.kind, {}, word.power};
    }
    return std::nullopt;
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

void runControlCommand(const ControlCommand& command, SystemActions& actions, const std::function<void()>& exitProgram) {
    switch (command.kind) {
    case Kind::exit:
        if (exitProgram) exitProgram();
        break;
    case Kind::keys:
        if (const auto keys = parseSendKeys(command.keys); keys && !keys->empty()) actions.typeKeys(*keys);
        break;
    case Kind::lock:
        actions.lockWorkStation();
        break;
    case Kind::power:
        runPowerAction(command.power, actions);
        break;
    }
}

}  // namespace kolvi
