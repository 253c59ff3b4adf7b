#pragma once
// The global hot key that opens the editor for a countdown from anywhere:
// its notation in the settings file and the numbers the system takes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_file.h"

namespace kolvi {

// Modifier flags and key codes as the system numbers them (MOD_ALT ..., the
// virtual-key codes of letters, digits and F1-F24).
namespace hotKeyModifier {
inline constexpr std::uint32_t kAlt = 0x1;
inline constexpr std::uint32_t kControl = 0x2;
inline constexpr std::uint32_t kShift = 0x4;
inline constexpr std::uint32_t kWin = 0x8;
}  // namespace hotKeyModifier

struct HotKey {
    std::uint32_t modifiers = 0;
    std::uint32_t key = 0;
    friend bool operator==(const HotKey&, const HotKey&) = default;
};

// "Ctrl+Alt+T": modifiers Ctrl, Alt, Shift, Win, each at most once, then one
// key: a letter, a digit or F1-F24; any case, blanks around each part
// allowed. A letter or a digit needs Ctrl, Alt or Win, so that no typing is
// ever taken from other programs; a function key may stand alone. nullopt
// for anything else.
std::optional<HotKey> parseHotKey(std::string_view notation);

// window/hotkey, read at start; "" (the default) for none.
std::string readHotKeySetting(const SettingsFile& settings);

}  // namespace kolvi
