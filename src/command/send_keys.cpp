#include "command/send_keys.h"

#include "text/ascii.h"
#include "text/utf8.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kolvi {
namespace {

using Modifiers = std::uint8_t;
constexpr Modifiers kShiftBit = 1;
constexpr Modifiers kControlBit = 2;
constexpr Modifiers kAltBit = 4;

struct ModifierKey {
    Modifiers bit;
    unsigned vk;
};
// Press order; releases go the other way.
constexpr std::array<ModifierKey, 3> kModifierKeys{{{kShiftBit, vk::kShift}, {kControlBit, vk::kControl}, {kAltBit, vk::kMenu}}};

struct NamedKey {
    std::string_view name;  // upper case
    unsigned vk;
};
constexpr NamedKey kNamedKeys[] = {
    {"ENTER", vk::kReturn},      {"TAB", vk::kTab},         {"ESC", vk::kEscape},
    {"ESCAPE", vk::kEscape},     {"BS", vk::kBack},         {"BKSP", vk::kBack},
    {"BACKSPACE", vk::kBack},    {"DEL", vk::kDelete},      {"DELETE", vk::kDelete},
    {"INS", vk::kInsert},        {"INSERT", vk::kInsert},   {"HOME", vk::kHome},
    {"END", vk::kEnd},           {"PGUP", vk::kPrior},      {"PGDN", vk::kNext},
    {"UP", vk::kUp},             {"DOWN", vk::kDown},       {"LEFT", vk::kLeft},
    {"RIGHT", vk::kRight},       {"BREAK", vk::kCancel},    {"CAPSLOCK", vk::kCapital},
    {"NUMLOCK", vk::kNumLock},   {"SCROLLLOCK", vk::kScroll}, {"PRTSC", vk::kSnapshot},
    {"HELP", vk::kHelp},         {"ADD", vk::kAdd},         {"SUBTRACT", vk::kSubtract},
    {"MULTIPLY", vk::kMultiply}, {"DIVIDE", vk::kDivide},
};
constexpr unsigned kFunctionKeyCount = 16;

std::optional<unsigned> namedKey(std::string_view name) {
    for (const NamedKey& key : kNamedKeys) {
        if (equalsIgnoringAsciiCase(name, key.name)) return key.vk;
    }
    // F1 to F16, without leading zeros.
    if (name.size() >= 2 && name.size() <= 3 && asciiUpper(name[0]) == 'F' && name[1] >= '1' && name[1] <= '9') {
        unsigned number = static_cast<unsigned>(name[1] - '0');
        if (name.size() == 3) {
            if (name[2] < '0' || name[2] > '9') return std::nullopt;
            number = number * 10 + static_cast<unsigned>(name[2] - '0');
        }
        if (number <= kFunctionKeyCount) return vk::kF1 + number - 1;
    }
    return std::nullopt;
}

std::optional<unsigned> repeatCount(std::string_view text) {
    if (text.empty()) return std::nullopt;
    unsigned count = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        count = count * 10 + static_cast<unsigned>(c - '0');
        if (count > kMaxRepeatCount) return std::nullopt;
    }
    return count;
}

// What one step of the notation types: a named key or a character.
struct Item {
    bool isKey = false;
    unsigned code = 0;  // virtual key or code point
    unsigned count = 1;
};

class Builder {
public:
    void press(unsigned code) { keys_.push_back({KeyInput::Kind::virtualKey, code, false}); }
    void release(unsigned code) { keys_.push_back({KeyInput::Kind::virtualKey, code, true}); }
    void tap(unsigned code) {
        press(code);
        release(code);
    }
    void pressModifiers(Modifiers set) {
        for (const ModifierKey& m : kModifierKeys) {
            if (set & m.bit) press(m.vk);
        }
    }
    void releaseModifiers(Modifiers set) {
        for (auto m = kModifierKeys.rbegin(); m != kModifierKeys.rend(); ++m) {
            if (set & m->bit) release(m->vk);
        }
    }

    // One key or character while `active` modifiers are down.
    void type(const Item& item, Modifiers active) {
        if (item.isKey) {
            tap(item.code);
            return;
        }
        const char32_t c = item.code;
        if (active == 0) {
            keys_.push_back({KeyInput::Kind::character, item.code, false});
        } else if (c >= 'a' && c <= 'z') {
            tap(static_cast<unsigned>(c - 'a' + 'A'));
        } else if (c >= 'A' && c <= 'Z') {
            const bool addShift = (active & kShiftBit) == 0;
            if (addShift) press(vk::kShift);
            tap(item.code);
            if (addShift) release(vk::kShift);
        } else if ((c >= '0' && c <= '9') || c == ' ') {
            tap(item.code);  // the digit keys and the space bar share their characters' codes
        } else {
            keys_.push_back({KeyInput::Kind::character, item.code, false});
        }
    }

    std::vector<KeyInput> take() { return std::move(keys_); }

private:
    std::vector<KeyInput> keys_;
};

// The brace at text[pos] up to its closing brace, advancing pos past it. The
// character right after the opening brace always belongs to the contents, so
// that {}} and {{} name the braces themselves.
std::optional<Item> parseBrace(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos + 1;
    if (start >= text.size()) return std::nullopt;
    std::size_t afterFirst = start;
    const std::optional<char32_t> first = utf8::nextCodePoint(text, afterFirst);
    if (!first) return std::nullopt;
    const std::size_t close = text.find('}', afterFirst);
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view contents = text.substr(start, close - start);
    pos = close + 1;

    Item item;
    const std::size_t blank = contents.find(' ', afterFirst - start);
    if (blank != std::string_view::npos) {
        const std::optional<unsigned> count = repeatCount(contents.substr(blank + 1));
        if (!count) return std::nullopt;
        item.count = *count;
        contents = contents.substr(0, blank);
    }
    if (contents.size() == afterFirst - start) {
        item.code = *first;  // a single character names itself
        return item;
    }
    const std::optional<unsigned> key = namedKey(contents);
    if (!key) return std::nullopt;
    item.isKey = true;
    item.code = *key;
    return item;
}

}  // namespace

std::optional<std::vector<KeyInput>> parseSendKeys(std::string_view utf8) {
    Builder out;
    Modifiers held = 0;            // held down by the groups that are open
    Modifiers pending = 0;         // typed before the next key or group
    std::vector<Modifiers> groups;  // what each open group pressed itself

    std::size_t pos = 0;
    while (pos < utf8.size()) {
        Item item;
        switch (utf8[pos]) {
        case '+':
        case '^':
        case '%': {
            const Modifiers bit = utf8[pos] == '+' ? kShiftBit : utf8[pos] == '^' ? kControlBit : kAltBit;
            if (pending & bit) return std::nullopt;
            pending |= bit;
            ++pos;
            continue;
        }
        case '(': {
            const Modifiers pressed = pending & static_cast<Modifiers>(~held);
            out.pressModifiers(pressed);
            held |= pressed;
            groups.push_back(pressed);
            pending = 0;
            ++pos;
            continue;
        }
        case ')':
            if (pending != 0 || groups.empty()) return std::nullopt;
            out.releaseModifiers(groups.back());
            held &= static_cast<Modifiers>(~groups.back());
            groups.pop_back();
            ++pos;
            continue;
        case '}':
            return std::nullopt;
        case '{': {
            const std::optional<Item> braced = parseBrace(utf8, pos);
            if (!braced) return std::nullopt;
            item = *braced;
            break;
        }
        case '~':
            item.isKey = true;
            item.code = vk::kReturn;
            ++pos;
            break;
        default: {
            const std::optional<char32_t> c = utf8::nextCodePoint(utf8, pos);
            if (!c) return std::nullopt;
            item.code = *c;
            break;
        }
        }

        if (item.count > 0) {
            const Modifiers pressed = pending & static_cast<Modifiers>(~held);
            out.pressModifiers(pressed);
            for (unsigned i = 0; i < item.count; ++i) out.type(item, held | pending);
            out.releaseModifiers(pressed);
        }
        pending = 0;
    }
    if (pending != 0 || !groups.empty()) return std::nullopt;
    return out.take();
}

}  // namespace kolvi
