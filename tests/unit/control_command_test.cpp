#include "command/control_command.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "command/send_keys.h"
#include "support/fakes.h"

namespace kolvi {
namespace {

using Calls = std::vector<std::string>;
using Keys = std::vector<KeyInput>;
using namespace vk;

// An expectation from pieces: typed text, key taps, presses and releases.
Keys seq(std::initializer_list<Keys> parts) {
    Keys all;
    for (const Keys& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}
Keys text(std::u32string_view s) {
    Keys keys;
    for (char32_t c : s) keys.push_back({KeyInput::Kind::character, static_cast<unsigned>(c), false});
    return keys;
}
KeyInput down(unsigned code) { return {KeyInput::Kind::virtualKey, code, false}; }
KeyInput up(unsigned code) { return {KeyInput::Kind::virtualKey, code, true}; }
Keys tap(unsigned code, int times = 1) {
    Keys keys;
    for (int i = 0; i < times; ++i) keys.insert(keys.end(), {down(code), up(code)});
    return keys;
}

// The whole field counts, in any ASCII case and untrimmed; anything else is a
// file name. Only the words that end the session or the machine wait for a
// countdown. That the sendkeys prefix types what the rest parses to (nothing
// when it does not parse), and that isControlCommand agrees, is checked over
// the control command fuzzer's corpus.
TEST(ControlCommand, EveryWordAndItsAction) {
    const std::pair<const char*, const char*> words[] = {
        {"exit", "exit"},         {"EXIT", "exit"},         {"LoCk", "lock"},           {"logoff98", "logoff"},
        {"LOGOFFXP", "logoff"},   {"shutdown95", "poweroff"}, {"ShutDownXP", "poweroff"}, {"reboot2k", "reboot"},
        {"rebootME", "reboot"},   {"SENDKEYS x", "keys"},
    };
    for (const auto& [text, action] : words) {
        test::RecordingSystemActions actions, delayed;
        bool exited = false;
        EXPECT_TRUE(runControlCommand(text, actions, [&exited] { exited = true; })) << text;
        if (exited) actions.calls.emplace_back("exit");
        EXPECT_EQ(actions.calls, Calls{action}) << text;
        if (const auto power = delayedPowerAction(text)) runPowerAction(*power, delayed);
        const std::string_view a = action;
        EXPECT_EQ(delayed.calls, a == "exit" || a == "lock" || a == "keys" ? Calls{} : Calls{action}) << text;
    }
    for (const char* text : {"", " exit", "exit ", "exits", "lock.wav", "logoff", "logoff95", "shutdown", "reboot",
                             "sendkeys", "sendkeys\tx", " sendkeys x", "send keys x", "ｅｘｉｔ", "C:\\sound\\exit"}) {
        EXPECT_FALSE(isControlCommand(text)) << text;
    }
}

// That plain text types itself, that every press is released innermost
// first, and that a string that is not UTF-8 types nothing are checked over
// the send keys fuzzer's corpus; here the keys each string gives.
TEST(SendKeys, ParsesTheNotation) {
    const std::pair<std::string, Keys> cases[] = {
        // Named keys in any case, by any of their names; ~ for Enter; F1-F16.
        {"Hi~{enter}{BS}{BKSP}{BACKSPACE}{PGUP}{PGDN}", seq({text(U"Hi"), tap(kReturn, 2), tap(kBack, 3), tap(kPrior), tap(kNext)})},
        {"{F1}{f9}{F16}", seq({tap(0x70), tap(0x78), tap(0x7F)})},
        // Braces type the special characters literally.
        {"{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}{あ}{ }", text(U"+^%~(){}[]あ ")},
        // Repeat counts; the first blank in "{  3}" is the character.
        {"{LEFT 3}{a 2}{あ 2}{} 2}{  3}", seq({tap(kLeft, 3), text(U"aaああ}}   ")})},
        {"+{TAB 0}x", text(U"x")},  // nothing typed, so no modifier pressed either
        {"{a 9999}", Keys(9999, text(U"a")[0])},
        // A modifier holds for the next key only; Shift, Ctrl, Alt are pressed
        // in this order and released the other way, whatever order they were written in.
        {"+a^ab", seq({{down(kShift)}, tap('A'), {up(kShift), down(kControl)}, tap('A'), {up(kControl)}, text(U"b")})},
        {"%^+x", seq({{down(kShift), down(kControl), down(kMenu)}, tap('X'), {up(kMenu), up(kControl), up(kShift)}})},
        // A capital under a modifier adds Shift, unless Shift is held already.
        {"^A", seq({{down(kControl), down(kShift)}, tap('A'), {up(kShift), up(kControl)}})},
        {"+(A{LEFT 2}~)", seq({{down(kShift)}, tap('A'), tap(kLeft, 2), tap(kReturn), {up(kShift)}})},
        // A character without a layout-independent key types itself with the modifiers held.
        {"^-+あ", seq({{down(kControl)}, text(U"-"), {up(kControl), down(kShift)}, text(U"あ"), {up(kShift)}})},
        // Groups hold their modifiers and nest; a held modifier is not pressed twice.
        {"+(ab)c", seq({{down(kShift)}, tap('A'), tap('B'), {up(kShift)}, text(U"c")})},
        {"^(a^b^(c))", seq({{down(kControl)}, tap('A'), tap('B'), tap('C'), {up(kControl)}})},
        {"+(a^(b%(c{LEFT 2}))d)", seq({{down(kShift)}, tap('A'), {down(kControl)}, tap('B'), {down(kMenu)}, tap('C'),
                                       tap(kLeft, 2), {up(kMenu), up(kControl)}, tap('D'), {up(kShift)}})},
    };
    for (const auto& [input, expected] : cases) EXPECT_EQ(parseSendKeys(input), expected) << input;
}

TEST(SendKeys, MalformedStringsTypeNothing) {
    for (const char* input : {"{ENTER", "{}", "}", "(abc", "abc)", "+(a))",        // unpaired
                              "{NOSUCHKEY}", "{F0}", "{F17}", "{F01}", "{ab}",       // unknown names
                              "{LEFT x}", "{LEFT -1}", "{LEFT 3 4}", "{LEFT  3}", "{a 10000}", "{a 99999999999999999999}",
                              "abc+", "+", "+(a+)", "++a", "^^(a)",                  // nothing to act on, or twice
                              "a\xE3\x81", "\xE3\x41", "\xC0\xAF", "\xED\xA0\x80", "{\xFF}"}) {  // not UTF-8
        EXPECT_EQ(parseSendKeys(input), std::nullopt) << input;
    }
}

}  // namespace
}  // namespace kolvi
