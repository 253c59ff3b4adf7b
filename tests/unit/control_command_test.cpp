#include "command/control_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/send_keys.h"
#include "support/fakes.h"

namespace kolvi {
namespace {

using Calls = std::vector<std::string>;

struct Outcome {
    bool recognised = false;
    Calls calls;  // the system actions, and "exit" for the exit callback
    std::vector<std::vector<KeyInput>> typed;
};

Outcome run(std::string_view text) {
    test::RecordingSystemActions actions;
    Calls exits;
    Outcome result;
    result.recognised = runControlCommand(text, actions, [&exits] { exits.emplace_back("exit"); });
    result.calls = actions.calls;
    result.calls.insert(result.calls.end(), exits.begin(), exits.end());
    result.typed = actions.typed;
    return result;
}

TEST(ControlCommandTest, EveryWordAndItsAction) {
    const struct {
        std::string text;
        std::string action;
    } cases[] = {
        {"exit", "exit"},           {"EXIT", "exit"},           {"LoCk", "lock"},
        {"logoff98", "logoff"},     {"logoffme", "logoff"},     {"logoff2k", "logoff"},     {"LOGOFFXP", "logoff"},
        {"shutdown95", "poweroff"}, {"shutdown98", "poweroff"}, {"shutdownme", "poweroff"},
        {"shutdown2k", "poweroff"}, {"ShutDownXP", "poweroff"},
        {"reboot95", "reboot"},     {"reboot98", "reboot"},     {"rebootME", "reboot"},
        {"reboot2k", "reboot"},     {"rebootxp", "reboot"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_TRUE(isControlCommand(c.text));
        const Outcome r = run(c.text);
        EXPECT_TRUE(r.recognised);
        EXPECT_EQ(r.calls, Calls{c.action});
        // Only the words that end the session or the machine wait for a countdown.
        test::RecordingSystemActions delayed;
        if (const auto power = delayedPowerAction(c.text)) runPowerAction(*power, delayed);
        EXPECT_EQ(delayed.calls, c.action == "exit" || c.action == "lock" ? Calls{} : Calls{c.action});
    }
}

TEST(ControlCommandTest, NearMissesAreFileNames) {
    for (const char* text : {"", " exit", "exit ", "exit\t", "exits", "lock.wav", "logoff", "logoff95", "shutdown",
                             "shutdownxp2", "reboot",
                             "sendkeys",  // the blank belongs to the prefix
                             "sendkeys\tx", " sendkeys x", "send keys x",
                             "ｅｘｉｔ",  // full-width letters are not lower-cased into the word
                             "C:\\sound\\exit"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(isControlCommand(text));
        const Outcome r = run(text);
        EXPECT_FALSE(r.recognised);
        EXPECT_TRUE(r.calls.empty());
    }
}

TEST(ControlCommandTest, SendKeysTypesTheRestWithItsCase) {
    const struct {
        std::string text;
        std::string keys;
    } cases[] = {
        {"sendkeys Hello~", "Hello~"},
        {"SENDKEYS ABC", "ABC"},
        {"sendkeys  lead", " lead"},  // a second blank is typed
        {"sendkeys exit", "exit"},
        {"sendkeys +(会議){ENTER}", "+(会議){ENTER}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Outcome r = run(c.text);
        EXPECT_TRUE(r.recognised);
        EXPECT_EQ(r.calls, Calls{"keys"});
        ASSERT_EQ(r.typed.size(), 1u);
        EXPECT_EQ(r.typed[0], parseSendKeys(c.keys).value());
    }
}

TEST(ControlCommandTest, SendKeysWithNothingToTypeIsStillACommand) {
    for (const char* text : {"sendkeys ", "SendKeys {LEFT", "sendkeys (a", "sendkeys {NOPE}", "sendkeys {a 0}"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(isControlCommand(text));
        const Outcome r = run(text);
        EXPECT_TRUE(r.recognised);
        EXPECT_TRUE(r.calls.empty());
    }
}

}  // namespace
}  // namespace kolvi
