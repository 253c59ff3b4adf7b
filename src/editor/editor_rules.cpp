#include "editor/editor_rules.h"

#include <cstdio>

#include "platform/clock.h"
#include "text/utf8.h"
#include "texts/editor_texts.h"

namespace kolvi {
namespace {

// C0 and C1 controls and DEL: a line break would split the alarm line, and
// none of them belongs in a name or a path.
bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// A control character shows as nothing in a message; its code point does.
std::string visibleCodePoint(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// The first character of the text that the alarm file cannot hold, as the
// refusal shows it; nullopt when there is none.
std::optional<std::string> firstUnstorableCharacter(std::string_view text, const TextCodec& codec) {
    const bool encodes = codec.encode(text).has_value();
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const std::optional<char32_t> c = utf8::nextCodePoint(text, pos);
        if (!c) return std::string(utf8::characterAt(text, start));
        if (isControl(*c)) return visibleCodePoint(*c);
        const std::string_view character = text.substr(start, pos - start);
        if (!encodes && !codec.encode(character)) return std::string(character);
    }
    return std::nullopt;
}

}  // namespace

std::optional<EditorRefusal> checkStorableText(std::string_view text, EditorField field, const TextCodec& codec) {
    if (text.find(',') != std::string_view::npos) return EditorRefusal{std::string(kMsgCommaInField), field};
    if (const std::optional<std::string> c = firstUnstorableCharacter(text, codec)) {
        return EditorRefusal{std::string(kMsgUnstorableCharacter) + *c, field};
    }
    return std::nullopt;
}

std::optional<EditorRefusal> checkCountdown(long long seconds) {
    if (seconds >= kSecondsPerDay) return EditorRefusal{std::string(kMsgCountdownTooLong), EditorField::hour};
    // It would end in the second it is set, which the check has passed by
    // then: it would ring a day later.
    if (seconds <= 0) return EditorRefusal{std::string(kMsgCountdownZero), EditorField::hour};
    return std::nullopt;
}

std::optional<EditorRefusal> checkTimeOfDay(long long hour, long long minute, long long second) {
    const EditorField field = hour < 0 || hour > 23       ? EditorField::hour
                              : minute < 0 || minute > 59 ? EditorField::minute
                              : second < 0 || second > 59 ? EditorField::second
                                                          : EditorField::name;
    if (field == EditorField::name) return std::nullopt;
    return EditorRefusal{std::string(kMsgBadTimeOfDay), field};
}

}  // namespace kolvi
