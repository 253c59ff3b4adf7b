#pragma once
// The classic SendKeys notation, parsed into the key presses it stands for.
//
//   abc あ      characters type themselves (as Unicode, whatever the layout)
//   + ^ %       hold Shift, Ctrl, Alt for the next key, brace or group
//   ~           Enter
//   {NAME}      a named key (case-insensitive), {NAME n} pressed n times
//   {c} {c n}   the character c, n times; this is how + ^ % ~ ( ) { } [ ]
//               are typed as themselves: {+} {^} {%} {~} {(} {)} {{} {}}
//   +(abc)      the modifiers before a group are held for the whole group;
//               groups nest
//
// A character typed under a modifier has to be a key rather than text, or the
// modifier would mean nothing: letters become their key ('A'..'Z'), with
// Shift added for a capital when Shift is not held already (so ^A is
// Ctrl+Shift+A, as in the classic notation), digits become '0'..'9' and the
// blank becomes the space bar. Any other character has no key that is the
// same on every keyboard layout; it is typed as itself while the modifiers are
// held.
//
// Modifiers are pressed in the order Shift, Ctrl, Alt and released in reverse,
// and every modifier pressed is released again within the same string.
#include <optional>
#include <string_view>
#include <vector>

#include "platform/system_actions.h"

namespace kolvi {

// Virtual-key codes the parser produces (the values Windows uses).
namespace vk {
inline constexpr unsigned kCancel = 0x03;  // {BREAK}
inline constexpr unsigned kBack = 0x08;
inline constexpr unsigned kTab = 0x09;
inline constexpr unsigned kReturn = 0x0D;
inline constexpr unsigned kShift = 0x10;
inline constexpr unsigned kControl = 0x11;
inline constexpr unsigned kMenu = 0x12;  // Alt
inline constexpr unsigned kCapital = 0x14;
inline constexpr unsigned kEscape = 0x1B;
inline constexpr unsigned kSpace = 0x20;
inline constexpr unsigned kPrior = 0x21;  // Page Up
inline constexpr unsigned kNext = 0x22;   // Page Down
inline constexpr unsigned kEnd = 0x23;
inline constexpr unsigned kHome = 0x24;
inline constexpr unsigned kLeft = 0x25;
inline constexpr unsigned kUp = 0x26;
inline constexpr unsigned kRight = 0x27;
inline constexpr unsigned kDown = 0x28;
inline constexpr unsigned kSnapshot = 0x2C;  // Print Screen
inline constexpr unsigned kInsert = 0x2D;
inline constexpr unsigned kDelete = 0x2E;
inline constexpr unsigned kHelp = 0x2F;
inline constexpr unsigned kMultiply = 0x6A;
inline constexpr unsigned kAdd = 0x6B;
inline constexpr unsigned kSubtract = 0x6D;
inline constexpr unsigned kDivide = 0x6F;
inline constexpr unsigned kF1 = 0x70;  // F1 to F16 follow one another
inline constexpr unsigned kNumLock = 0x90;
inline constexpr unsigned kScroll = 0x91;
}  // namespace vk

// A count in braces above this is taken as a typing error rather than a wish
// to send that many keys.
inline constexpr unsigned kMaxRepeatCount = 9999;

// The whole string is parsed before anything is typed. nullopt (nothing to
// type) when it is malformed: a brace or parenthesis without its partner, an
// unknown key name, a count that is not a plain decimal number up to
// kMaxRepeatCount, a modifier with no key after it or given twice for the
// same key, or text that is not UTF-8.
std::optional<std::vector<KeyInput>> parseSendKeys(std::string_view utf8);

}  // namespace kolvi
