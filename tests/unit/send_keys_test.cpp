#include "command/send_keys.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace kolvi {
namespace {

using Keys = std::vector<KeyInput>;
using namespace vk;

KeyInput down(unsigned code) { return {KeyInput::Kind::virtualKey, code, false}; }
KeyInput up(unsigned code) { return {KeyInput::Kind::virtualKey, code, true}; }

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
Keys tap(unsigned code, int times = 1) {
    Keys keys;
    for (int i = 0; i < times; ++i) keys.insert(keys.end(), {down(code), up(code)});
    return keys;
}

TEST(SendKeys, ParsesTheNotation) {
    const std::pair<std::string, Keys> cases[] = {
        // Text types itself as Unicode, brackets and characters beyond the BMP included.
        {"", {}}, {"会議 [x]😀", text(U"会議 [x]😀")},
        // Named keys in any case, ~ for Enter; F1-F16.
        {"Hello~", seq({text(U"Hello"), tap(kReturn)})},
        {"{enter}{Tab}{ESC}{BS}{BKSP}{BACKSPACE}", seq({tap(kReturn), tap(kTab), tap(kEscape), tap(kBack, 3)})},
        {"{DEL}{DELETE}{INS}{INSERT}{HOME}{END}{PGUP}{PGDN}",
         seq({tap(kDelete, 2), tap(kInsert, 2), tap(kHome), tap(kEnd), tap(kPrior), tap(kNext)})},
        {"{UP}{DOWN}{LEFT}{RIGHT}{BREAK}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{PRTSC}{HELP}",
         seq({tap(kUp), tap(kDown), tap(kLeft), tap(kRight), tap(kCancel), tap(kCapital), tap(kNumLock), tap(kScroll),
              tap(kSnapshot), tap(kHelp)})},
        {"{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}{ESCAPE}",
         seq({tap(kAdd), tap(kSubtract), tap(kMultiply), tap(kDivide), tap(kEscape)})},
        {"{F1}{f9}{F10}{F16}", seq({tap(0x70), tap(0x78), tap(0x79), tap(0x7F)})},
        // Braces type the special characters literally.
        {"{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}{あ}{ }", text(U"+^%~(){}[]あ ")},
        // Repeat counts; the first blank in "{  3}" is the character.
        {"{LEFT 3}{a 2}{あ 2}{} 2}{  3}", seq({tap(kLeft, 3), text(U"aaああ}}   ")})},
        {"{TAB 0}x", text(U"x")}, {"+{TAB 0}x", text(U"x")},  // nothing typed, so no modifier pressed either
        {"{a 9999}", Keys(9999, text(U"a")[0])},
        // A modifier holds for the next key only; Shift, Ctrl, Alt are pressed
        // in this order and released the other way, whatever order they were written in.
        {"+a", seq({{down(kShift)}, tap('A'), {up(kShift)}})},
        {"^ab", seq({{down(kControl)}, tap('A'), {up(kControl)}, text(U"b")})},
        {"%^+x", seq({{down(kShift), down(kControl), down(kMenu)}, tap('X'), {up(kMenu), up(kControl), up(kShift)}})},
        {"^5^ +~", seq({{down(kControl)}, tap('5'), {up(kControl), down(kControl)}, tap(kSpace), {up(kControl)},
                        {down(kShift)}, tap(kReturn), {up(kShift)}})},
        {"+{LEFT 3}", seq({{down(kShift)}, tap(kLeft, 3), {up(kShift)}})},
        {"%{F4}", seq({{down(kMenu)}, tap(0x73), {up(kMenu)}})},
        // A capital under a modifier adds Shift, unless Shift is held already.
        {"^A", seq({{down(kControl), down(kShift)}, tap('A'), {up(kShift), up(kControl)}})},
        // A character without a layout-independent key types itself with the modifiers held.
        {"^-+あ^{+}", seq({{down(kControl)}, text(U"-"), {up(kControl), down(kShift)}, text(U"あ"),
                             {up(kShift), down(kControl)}, text(U"+"), {up(kControl)}})},
        // Groups hold their modifiers and nest; a held modifier is not pressed twice.
        {"+(ab)c", seq({{down(kShift)}, tap('A'), tap('B'), {up(kShift)}, text(U"c")})},
        {"(ab)", text(U"ab")},
        {"+(a^(b)c)",
         seq({{down(kShift)}, tap('A'), {down(kControl)}, tap('B'), {up(kControl)}, tap('C'), {up(kShift)}})},
        {"^(a^b^(c))", seq({{down(kControl)}, tap('A'), tap('B'), tap('C'), {up(kControl)}})},
        {"+(a^(b%(c{LEFT 2}))d)", seq({{down(kShift)}, tap('A'), {down(kControl)}, tap('B'), {down(kMenu)}, tap('C'),
                                       tap(kLeft, 2), {up(kMenu), up(kControl)}, tap('D'), {up(kShift)}})},
        {"+(A{LEFT 2}~)", seq({{down(kShift)}, tap('A'), tap(kLeft, 2), tap(kReturn), {up(kShift)}})},
    };
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE("input: " + input);
        const auto keys = parseSendKeys(input);
        ASSERT_TRUE(keys.has_value());
        EXPECT_EQ(*keys, expected);
    }
}

TEST(SendKeys, MalformedStringsTypeNothing) {
    for (const char* input : {
             // braces and parentheses without their partners
             "{ENTER", "{}", "}", "(abc", "abc)", "+(a))",
             // unknown key names
             "{NOSUCHKEY}", "{ENTERX}", "{F0}", "{F17}", "{F01}", "{ab}",
             // counts that are not plain numbers up to the limit
             "{LEFT x}", "{LEFT -1}", "{LEFT 3 4}", "{LEFT  3}", "{LEFT }", "{a 10000}", "{a 99999999999999999999}",
             // modifiers with nothing to act on, or given twice
             "abc+", "+", "+(a+)", "++a", "^^(a)",
             // not UTF-8: a stray byte, a cut-off or broken character, an overlong form, a surrogate
             "\xFF", "a\xE3\x81", "\xE3\x41\x42", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "{\xFF}",
         }) {
        EXPECT_FALSE(parseSendKeys(input).has_value()) << input;
    }
}

}  // namespace
}  // namespace kolvi
