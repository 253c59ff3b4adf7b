#include "notify/alarm_action.h"

#include <cstddef>

#include "store/alarm_record.h"
#include "store/paths.h"
#include "text/ascii.h"
#include "text/fields.h"
#include "text/utf8.h"
#include "texts/alarm_texts.h"

namespace kolvi {
namespace {

constexpr std::string_view kSoundSection = "sound";
constexpr std::string_view kUseMciKey = "usemci";
constexpr int kUseMciDefault = 1;
constexpr std::string_view kEnableTypeKey = "enabletype";
constexpr std::string_view kEnableTypeDefault = "wav,mp3";
constexpr std::size_t kExtensionCharacters = 3;

// The ASCII letter or digit a full-width one stands for, or 0. Full-width
// forms are U+FF10-U+FF19 (digits), U+FF21-U+FF3A and U+FF41-U+FF5A (letters).
char halfWidthOf(char32_t c) {
    if (c >= U'\uFF10' && c <= U'\uFF19') return static_cast<char>('0' + (c - U'\uFF10'));
    if (c >= U'\uFF21' && c <= U'\uFF3A') return static_cast<char>('A' + (c - U'\uFF21'));
    if (c >= U'\uFF41' && c <= U'\uFF5A') return static_cast<char>('a' + (c - U'\uFF41'));
    return 0;
}

}  // namespace

std::string soundExtension(std::string_view file) {
    const std::string_view tail = file.substr(utf8::lastCharactersStart(file, kExtensionCharacters));
    std::string extension;
    for (std::size_t at = 0; at < tail.size();) {
        const std::size_t start = at;
        const std::optional<char32_t> c = utf8::nextCodePoint(tail, at);
        if (!c) {
            // Not UTF-8: the bytes stay as they are.
            at = start + utf8::characterAt(tail, start).size();
            extension += tail.substr(start, at - start);
        } else if (const char half = halfWidthOf(*c)) {
            extension += asciiLower(half);
        } else if (*c < 0x80) {
            extension += asciiLower(static_cast<char>(*c));
        } else {
            extension += tail.substr(start, at - start);
        }
    }
    return extension;
}

AlarmAction decideAlarmAction(std::string_view line, AlarmMode mode, const SettingsFile& settings) {
    AlarmAction action;
    const std::string_view file = lineField(line, Field::file);
    if (file.empty()) {
        action.kind = AlarmActionKind::message;
        action.name = std::string(lineField(line, Field::name));
        action.showMessageBox = !action.name.empty();
        return action;
    }
    action.file = std::string(file);
    // Previewing a control command carries it out as well: the preview is of
    // the alarm's action, whatever it is.
    if ((action.command = parseControlCommand(file))) {
        action.kind = AlarmActionKind::controlCommand;
        return action;
    }

    // The settings file ends a value at a NUL, so the text read holds none.
    const int useMci = settings.readInt(kSoundSection, kUseMciKey, kUseMciDefault);
    const std::string enableType = settings.readString(kSoundSection, kEnableTypeKey, kEnableTypeDefault);
    if (!fieldListContains(enableType, soundExtension(file))) {
        action.kind = AlarmActionKind::shellOpen;
        return action;
    }

    action.kind = AlarmActionKind::soundWindow;
    action.mode = mode;
    action.soundApi = soundApiFromSetting(useMci);
    action.message = mode == AlarmMode::fire ? std::string(lineField(line, Field::name))
                                             : fileNamePart(file) + std::string(kPreviewMessageSuffix);
    return action;
}

}  // namespace kolvi
