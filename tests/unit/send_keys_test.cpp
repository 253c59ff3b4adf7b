#include "command/send_keys.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace kolvi {
namespace {

using Keys = std::vector<KeyInput>;

KeyInput ch(char32_t c) { return {KeyInput::Kind::character, static_cast<unsigned>(c), false}; }
KeyInput down(unsigned code) { return {KeyInput::Kind::virtualKey, code, false}; }
KeyInput up(unsigned code) { return {KeyInput::Kind::virtualKey, code, true}; }

// Builds an expectation from pieces: a character, a key press or release, or
// a whole run of keys.
Keys seq(std::initializer_list<Keys> parts) {
    Keys all;
    for (const Keys& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}
Keys text(std::u32string_view s) {
    Keys keys;
    for (char32_t c : s) keys.push_back(ch(c));
    return keys;
}
Keys tap(unsigned code, int times = 1) {
    Keys keys;
    for (int i = 0; i < times; ++i) {
        keys.push_back(down(code));
        keys.push_back(up(code));
    }
    return keys;
}

struct Case {
    std::string input;
    Keys expected;
};

void expectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE("input: " + c.input);
        const auto keys = parseSendKeys(c.input);
        ASSERT_TRUE(keys.has_value());
        EXPECT_EQ(*keys, c.expected);
    }
}

TEST(SendKeysTest, PlainTextTypesItselfAsUnicode) {
    expectAll({
        {"", {}},
        {"Hello", text(U"Hello")},
        {"会議です。", text(U"会議です。")},
        {"[x]", text(U"[x]")},        // brackets need no braces
        {"😀", text(U"😀")},          // beyond the BMP: one code point
    });
}

TEST(SendKeysTest, TildeAndNamedKeys) {
    expectAll({
        {"Hello~", seq({text(U"Hello"), tap(vk::kReturn)})},
        {"{ENTER}", tap(vk::kReturn)},
        {"{enter}{Tab}{esc}{ESCAPE}", seq({tap(vk::kReturn), tap(vk::kTab), tap(vk::kEscape), tap(vk::kEscape)})},
        {"{BS}{BKSP}{BACKSPACE}", tap(vk::kBack, 3)},
        {"{DEL}{DELETE}{INS}{INSERT}", seq({tap(vk::kDelete, 2), tap(vk::kInsert, 2)})},
        {"{HOME}{END}{PGUP}{PGDN}", seq({tap(vk::kHome), tap(vk::kEnd), tap(vk::kPrior), tap(vk::kNext)})},
        {"{UP}{DOWN}{LEFT}{RIGHT}", seq({tap(vk::kUp), tap(vk::kDown), tap(vk::kLeft), tap(vk::kRight)})},
        {"{BREAK}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{PRTSC}{HELP}",
         seq({tap(vk::kCancel), tap(vk::kCapital), tap(vk::kNumLock), tap(vk::kScroll), tap(vk::kSnapshot),
              tap(vk::kHelp)})},
        {"{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}",
         seq({tap(vk::kAdd), tap(vk::kSubtract), tap(vk::kMultiply), tap(vk::kDivide)})},
        {"{F1}{f9}{F10}{F16}", seq({tap(0x70), tap(0x78), tap(0x79), tap(0x7F)})},
    });
}

TEST(SendKeysTest, BracesTypeTheSpecialCharactersLiterally) {
    expectAll({
        {"{+}{^}{%}{~}", text(U"+^%~")},
        {"{(}{)}{{}{}}{[}{]}", text(U"(){}[]")},
        {"{a}{あ}{ }", text(U"aあ ")},
    });
}

TEST(SendKeysTest, RepeatCounts) {
    expectAll({
        {"{LEFT 3}", tap(vk::kLeft, 3)},
        {"{a 5}", text(U"aaaaa")},
        {"{あ 2}", text(U"ああ")},
        {"{} 2}{{ 2}", text(U"}}{{")},
        {"{  3}", text(U"   ")},  // the first blank is the character, the second separates the count
        {"{TAB 0}x", text(U"x")},
        {"+{TAB 0}x", text(U"x")},  // nothing typed, so no modifier pressed either
        {"{a 9999}", Keys(9999, ch(U'a'))},
    });
}

TEST(SendKeysTest, ModifiersHoldForTheNextKeyOnly) {
    using namespace vk;
    expectAll({
        {"+a", seq({{down(kShift)}, tap('A'), {up(kShift)}})},
        {"^c", seq({{down(kControl)}, tap('C'), {up(kControl)}})},
        {"%{F4}", seq({{down(kMenu)}, tap(0x73), {up(kMenu)}})},
        {"^ab", seq({{down(kControl)}, tap('A'), {up(kControl)}, text(U"b")})},
        // Pressed Shift, Ctrl, Alt and released the other way, whatever order they were written in.
        {"%^+x", seq({{down(kShift), down(kControl), down(kMenu)}, tap('X'), {up(kMenu), up(kControl), up(kShift)}})},
        {"^5", seq({{down(kControl)}, tap('5'), {up(kControl)}})},
        {"^ ", seq({{down(kControl)}, tap(kSpace), {up(kControl)}})},
        {"+~", seq({{down(kShift)}, tap(kReturn), {up(kShift)}})},
        {"+{LEFT 3}", seq({{down(kShift)}, tap(kLeft, 3), {up(kShift)}})},
        {"^{a 2}", seq({{down(kControl)}, tap('A', 2), {up(kControl)}})},
        // A capital under a modifier adds Shift, unless Shift is held already.
        {"^A", seq({{down(kControl), down(kShift)}, tap('A'), {up(kShift), up(kControl)}})},
        // Characters without a layout-independent key type themselves with the modifiers held.
        {"^-", seq({{down(kControl)}, {ch(U'-')}, {up(kControl)}})},
        {"+あ", seq({{down(kShift)}, {ch(U'あ')}, {up(kShift)}})},
        {"^{+}", seq({{down(kControl)}, {ch(U'+')}, {up(kControl)}})},
    });
}

TEST(SendKeysTest, GroupsHoldTheirModifiersAndNest) {
    using namespace vk;
    expectAll({
        {"+(ab)c", seq({{down(kShift)}, tap('A'), tap('B'), {up(kShift)}, text(U"c")})},
        {"(ab)", text(U"ab")},
        {"+(a^(b)c)", seq({{down(kShift)}, tap('A'), {down(kControl)}, tap('B'), {up(kControl)}, tap('C'), {up(kShift)}})},
        {"^(a^b)", seq({{down(kControl)}, tap('A'), tap('B'), {up(kControl)}})},  // Ctrl is not pressed twice
        {"+(A{LEFT 2}~)", seq({{down(kShift)}, tap('A'), tap(kLeft, 2), tap(kReturn), {up(kShift)}})},
        {"+(ab)+(c)", seq({{down(kShift)}, tap('A'), tap('B'), {up(kShift)}, {down(kShift)}, tap('C'), {up(kShift)}})},
    });
}

TEST(SendKeysTest, MalformedStringsTypeNothing) {
    for (const char* input : {
             // braces and parentheses without their partners
             "{ENTER", "{}", "}", "(abc", "abc)", "+(a))",
             // unknown key names
             "{NOSUCHKEY}", "{ENTERX}", "{F0}", "{F17}", "{F01}", "{ab}",
             // counts that are not plain numbers up to the limit
             "{LEFT x}", "{LEFT -1}", "{LEFT 3 4}", "{LEFT  3}", "{LEFT }", "{a 10000}", "{a 99999999999999999999}",
             // modifiers with nothing to act on, or given twice
             "abc+", "+", "+(a+)", "++a", "^^(a)",
             // not UTF-8: a stray byte, a cut-off character, an overlong form
             "\xFF", "a\xE3\x81", "\xC0\xAF", "{\xFF}",
         }) {
        SCOPED_TRACE(input);
        EXPECT_FALSE(parseSendKeys(input).has_value());
    }
}

// Whatever is typed, every key pressed is released again and no modifier
// stays down, so a string can never leave the keyboard in a held state.
TEST(SendKeysTest, EveryPressIsReleased) {
    for (const char* input : {"+(a^(b%(c{LEFT 2}))d)", "^A", "%^+x", "+(+a)", "^{a 3}~", "+(ab)+(c)"}) {
        SCOPED_TRACE(input);
        const auto keys = parseSendKeys(input);
        ASSERT_TRUE(keys.has_value());
        std::vector<unsigned> downNow;
        for (const KeyInput& key : *keys) {
            if (key.kind != KeyInput::Kind::virtualKey) continue;
            if (!key.keyUp) {
                downNow.push_back(key.code);
            } else {
                ASSERT_FALSE(downNow.empty());
                EXPECT_EQ(downNow.back(), key.code);
                downNow.pop_back();
            }
        }
        EXPECT_TRUE(downNow.empty());
    }
}

}  // namespace
}  // namespace kolvi
