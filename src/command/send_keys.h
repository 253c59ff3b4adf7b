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

#include "platform/keys.h"
#include "platform/system_actions.h"

namespace kolvi {


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
