#include "command/control_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/send_keys.h"
#include "support/fakes.h"

namespace kolvi {
namespace {

using Calls = std::vector<std::string>;

// The system actions asked for, and "exit" for the exit callback; nullopt
// when the text was not taken as a command.
std::optional<Calls> run(std::string_view text, std::vector<std::vector<KeyInput>>* typed = nullptr) {
    test::RecordingSystemActions actions;
    Calls calls;
    const bool recognised = runControlCommand(text, actions, [&calls] { calls.emplace_back("exit"); });
    EXPECT_EQ(isControlCommand(text), recognised) << text;
    if (typed != nullptr) *typed = actions.typed;
    calls.insert(calls.begin(), actions.calls.begin(), actions.calls.end());
    return recognised ? std::optional(calls) : std::nullopt;
}

// The whole field counts, in any ASCII case and untrimmed; anything else is a file name.
TEST(ControlCommand, EveryWordAndItsAction) {
    const std::pair<const char*, const char*> words[] = {
        {"exit", "exit"},           {"EXIT", "exit"},           {"LoCk", "lock"},           {"logoff98", "logoff"},
        {"logoffme", "logoff"},     {"logoff2k", "logoff"},     {"LOGOFFXP", "logoff"},     {"shutdown95", "poweroff"},
        {"shutdown98", "poweroff"}, {"shutdownme", "poweroff"}, {"shutdown2k", "poweroff"}, {"ShutDownXP", "poweroff"},
        {"reboot95", "reboot"},     {"reboot98", "reboot"},     {"rebootME", "reboot"},     {"reboot2k", "reboot"},
        {"rebootxp", "reboot"},
    };
    for (const auto& [text, action] : words) {
        EXPECT_EQ(run(text), Calls{action}) << text;
        // Only the words that end the session or the machine wait for a countdown.
        test::RecordingSystemActions delayed;
        if (const auto power = delayedPowerAction(text)) runPowerAction(*power, delayed);
        EXPECT_EQ(delayed.calls, std::string(action) == "exit" || std::string(action) == "lock" ? Calls{} : Calls{action})
            << text;
    }
    for (const char* text : {"", " exit", "exit ", "exits", "lock.wav", "logoff", "logoff95", "shutdown", "reboot",
                             "sendkeys", "sendkeys\tx", " sendkeys x", "send keys x", "ｅｘｉｔ", "C:\\sound\\exit"}) {
        EXPECT_EQ(run(text), std::nullopt) << text;
    }
}

// Exactly one blank ends "sendkeys"; the keys after it keep their case. Keys
// that do not parse, or none at all, type nothing, but it is still a command.
TEST(ControlCommand, SendKeysTypesTheRestWithItsCase) {
    for (const char* keys : {"Hello~", "ABC", " lead", "exit", "+(会議){ENTER}"}) {
        std::vector<std::vector<KeyInput>> typed;
        EXPECT_EQ(run(std::string("sendkeys ") + keys, &typed), Calls{"keys"}) << keys;
        EXPECT_EQ(typed, std::vector<std::vector<KeyInput>>{parseSendKeys(keys).value()}) << keys;
    }
    EXPECT_EQ(run("SENDKEYS x"), Calls{"keys"});
    for (const char* text : {"sendkeys ", "SendKeys {LEFT", "sendkeys (a", "sendkeys {NOPE}", "sendkeys {a 0}"}) {
        EXPECT_EQ(run(text), Calls{}) << text;
    }
}

}  // namespace
}  // namespace kolvi
