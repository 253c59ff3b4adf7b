#include "notify/sound_form_model.h"

#include <utility>

namespace kolvi {

SoundFormModel::SoundFormModel(AlarmMode mode, SoundApi api, std::uint64_t windowHandleValue, std::string alarmLine)
    : mode_(mode), api_(api), windowHandleValue_(windowHandleValue), alarmLine_(std::move(alarmLine)) {}

void SoundFormModel::setShown(std::uint64_t shownAtMs, std::uint32_t guardMs) {
    shownAtMs_ = shownAtMs;
    guardMs_ = guardMs;
}

bool SoundFormModel::ignoresKey(char32_t key, std::uint64_t atMs) const {
    if (guardMs_ == 0) return false;
    const bool guarded = (key >= U'0' && key <= U'9') || (key >= U'\uFF10' && key <= U'\uFF19') || key == U'\r' ||
                         key == U'\x1b' || key == U' ';
    // A count that went backwards is taken as the moment of appearing.
    return guarded && (atMs < shownAtMs_ || atMs - shownAtMs_ < guardMs_);
}

void SoundFormModel::startSound(SoundDevice& device, std::string_view file) const {
    kolvi::startSound(device, file, api_, windowHandleValue_);
}

bool SoundFormModel::keyPress(char32_t key, const SettingsFile& settings) {
    // A full-width digit is the same key typed with the Japanese input on.
    if (key >= U'\uFF11' && key <= U'\uFF19') key = U'1' + (key - U'\uFF11');
    if (unloaded_ || isPreview() || key < U'1' || key > U'9') return false;
    span_ = readExtensionSpan(settings, static_cast<int>(key - U'0'));
    return true;
}

UnloadOutcome SoundFormModel::unload(SoundDevice& device, const Clock& clock, const AlarmList* target,
                                     const std::function<void(const std::string& line)>& addExtension) {
    if (unloaded_) return {};
    unloaded_ = true;
    UnloadOutcome outcome;
    if (!isPreview() && extendsAlarm(span_)) {
        if (target == nullptr || !target->isFileOpen()) {
            outcome.action = UnloadAction::tellNoFileOpen;
        } else if (std::optional<std::string> line = buildExtensionLine(alarmLine_, extendedTime(clock.now(), span_))) {
            outcome = {UnloadAction::addExtension, std::move(*line)};
            if (addExtension) addExtension(outcome.line);
        }
    }
    stopSound(device, api_, windowHandleValue_);
    return outcome;
}

}  // namespace kolvi
