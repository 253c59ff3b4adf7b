#include "mainwindow/hot_key.h"

#include <utility>

#include "text/ascii.h"
#include "text/fields.h"

namespace kolvi {
namespace {

constexpr std::uint32_t kFirstFunctionKey = 0x70;  // VK_F1

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The key code of a letter, a digit (their ASCII upper-case codes) or F1-F24.
std::optional<std::uint32_t> keyCode(std::string_view name) {
    if (name.size() == 1) {
        const char c = asciiUpper(name[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<std::uint32_t>(c);
        return std::nullopt;
    }
    if (name.size() < 2 || name.size() > 3 || asciiUpper(name[0]) != 'F' || name[1] == '0') return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : name.substr(1)) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (number < 1 || number > 24) return std::nullopt;
    return kFirstFunctionKey + number - 1;
}

}  // namespace

std::optional<HotKey> parseHotKey(std::string_view notation) {
    static constexpr std::pair<std::string_view, std::uint32_t> kModifiers[] = {
        {"ctrl", hotKeyModifier::kControl},
        {"alt", hotKeyModifier::kAlt},
        {"shift", hotKeyModifier::kShift},
        {"win", hotKeyModifier::kWin},
    };
    const std::vector<std::string_view> parts = splitFields(notation, '+');
    HotKey hotKey;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        std::uint32_t flag = 0;
        for (const auto& [name, value] : kModifiers) {
            if (equalsIgnoringAsciiCase(trimmed(parts[i]), name)) flag = value;
        }
        if (flag == 0 || (hotKey.modifiers & flag) != 0) return std::nullopt;
        hotKey.modifiers |= flag;
    }
    const std::optional<std::uint32_t> key = keyCode(trimmed(parts.back()));
    if (!key) return std::nullopt;
    hotKey.key = *key;
    const bool typing = *key < kFirstFunctionKey;
    constexpr std::uint32_t kNotTyping = hotKeyModifier::kControl | hotKeyModifier::kAlt | hotKeyModifier::kWin;
    if (typing && (hotKey.modifiers & kNotTyping) == 0) return std::nullopt;
    return hotKey;
}

std::string readHotKeySetting(const SettingsFile& settings) { return settings.readString("window", "hotkey", ""); }

}  // namespace kolvi
