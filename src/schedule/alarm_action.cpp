#include "schedule/alarm_action.h"

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
// forms are U+FF10-U+FF19 (digits), U+FF21-U+FF3A and U+FF41-U+FF5A
// (letters), three bytes each in UTF-8.
char halfWidthOf(std::string_view character) {
    if (character.size() != 3 || static_cast<unsigned char>(character[0]) != 0xEF) return 0;
    const unsigned codePoint = 0xF000u | (static_cast<unsigned>(static_cast<unsigned char>(character[1]) & 0x3F) << 6) |
                               (static_cast<unsigned>(static_cast<unsigned char>(character[2])) & 0x3F);
    if (codePoint >= 0xFF10 && codePoint <= 0xFF19) return static_cast<char>('0' + (codePoint - 0xFF10));
    if (codePoint >= 0xFF21 && codePoint <= 0xFF3A) return static_cast<char>('A' + (codePoint - 0xFF21));
    if (codePoint >= 0xFF41 && codePoint <= 0xFF5A) return static_cast<char>('a' + (codePoint - 0xFF41));
    return 0;
}

}  // namespace

std::string soundExtension(std::string_view file) {
    const std::string_view tail = file.substr(utf8::lastCharactersStart(file, kExtensionCharacters));
    std::string extension;
    for (std::size_t at = 0; at < tail.size();) {
        const std::string_view character = utf8::characterAt(tail, at);
        const std::size_t end = at + character.size();
        if (const char half = halfWidthOf(character)) {
            extension += asciiLower(half);
        } else if (character.size() == 1) {
            extension += asciiLower(character[0]);
        } else {
            extension += character;
        }
        at = end;
    }
    return extension;
}

AlarmAction decideAlarmAction(std::string_view line, AlarmMode mode, const SettingsFile& settings,
                              const ControlCommandTest& isControlCommand) {
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
    if (isControlCommand && isControlCommand(file)) {
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
    if (mode == AlarmMode::fire) {
        action.title = kSoundTitleAlarm;
        action.message = std::string(lineField(line, Field::name));
    } else {
        action.title = kSoundTitlePreview;
        action.message = fileNamePart(file) + std::string(kPreviewMessageSuffix);
    }
    return action;
}

}  // namespace kolvi
