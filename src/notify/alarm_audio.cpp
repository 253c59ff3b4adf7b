#include "notify/alarm_audio.h"

#include <algorithm>
#include <cmath>

#include "texts/audio_texts.h"

namespace kolvi {
namespace {

constexpr std::string_view kAlarm = "alarm";
constexpr float kFadeStart = 0.1f;
// Levels closer than this are the same to the user: a level read back after
// being set may differ in the last bits.
constexpr float kSameLevel = 0.005f;

int readClamped(const SettingsFile& settings, std::string_view key, int highest) {
    return std::clamp(settings.readInt(kAlarm, key, 0), 0, highest);
}

}  // namespace

bool readSoundCheck(const SettingsFile& settings) { return settings.readFlag(kAlarm, "soundcheck", true); }
int readAlarmVolume(const SettingsFile& settings) { return readClamped(settings, "volume", 100); }
int readFadeInSeconds(const SettingsFile& settings) { return readClamped(settings, "fadein", 60); }

SoundProblem soundProblem(bool fileExists, const std::optional<OutputState>& output) {
    if (!fileExists) return SoundProblem::noFile;
    if (!output) return SoundProblem::none;
    if (!output->device) return SoundProblem::noDevice;
    if (output->muted) return SoundProblem::muted;
    // What the system's own volume control would show as 0.
    if (std::lround(output->level * 100.0f) == 0) return SoundProblem::levelZero;
    return SoundProblem::none;
}

std::string_view soundProblemText(SoundProblem problem) {
    switch (problem) {
    case SoundProblem::muted:
        return kSilentMuted;
    case SoundProblem::levelZero:
        return kSilentLevelZero;
    case SoundProblem::noDevice:
        return kSilentNoDevice;
    case SoundProblem::noFile:
        return kSilentNoFile;
    case SoundProblem::none:
        break;
    }
    return {};
}

SoundProblem checkSound(AudioOutput& output, const FileSystem& fs, const std::string& file) {
    // Without the file there is nothing to play, whatever the output says.
    if (!fs.isFile(file)) return SoundProblem::noFile;
    return soundProblem(true, output.defaultOutput());
}

void AlarmVolume::soundStarted(AudioOutput& output, int percent) {
    if (percent <= 0) return;
    const std::optional<OutputState> now = output.defaultOutput();
    if (!now || !now->device) return;
    const float wanted = static_cast<float>(percent) / 100.0f;
    // A change the user made since the last raise is the user's level now.
    if (saved_ && !(now->muted == set_.muted && std::fabs(now->level - set_.level) < kSameLevel)) saved_ = *now;
    if (!now->muted && now->level >= wanted - kSameLevel / 2) return;
    const OutputState raised{true, false, std::max(now->level, wanted)};
    if (!output.setOutput(raised.level, raised.muted)) return;
    if (!saved_) saved_ = *now;
    set_ = raised;
}

void AlarmVolume::soundsStopped(AudioOutput& output) {
    if (!saved_) return;
    const OutputState saved = *saved_;
    saved_.reset();
    const std::optional<OutputState> now = output.defaultOutput();
    if (!now || !now->device || now->muted != set_.muted || std::fabs(now->level - set_.level) >= kSameLevel) return;
    output.setOutput(saved.level, saved.muted);
}

float fadeLevel(std::uint64_t elapsedMs, int seconds) {
    if (seconds <= 0) return 1.0f;
    const double total = seconds * 1000.0;
    const double part = std::min(static_cast<double>(elapsedMs), total) / total;
    return static_cast<float>(kFadeStart + (1.0 - kFadeStart) * part);
}

std::optional<float> FadeIn::soundStarted(std::uint64_t ms, int seconds, bool othersPlaying) {
    if (seconds <= 0 || othersPlaying || running()) return std::nullopt;
    startMs_ = ms;
    seconds_ = seconds;
    return kFadeStart;
}

std::optional<float> FadeIn::step(std::uint64_t ms) {
    if (!running()) return std::nullopt;
    const std::uint64_t elapsed = ms > startMs_ ? ms - startMs_ : 0;
    const float level = fadeLevel(elapsed, seconds_);
    if (elapsed >= static_cast<std::uint64_t>(seconds_) * 1000) seconds_ = 0;
    return level;
}

std::string AlarmAudio::soundStarting(const std::string& file, std::uint64_t ms) {
    const bool othersPlaying = playing_++ > 0;
    if (output_ == nullptr) {
        return readSoundCheck(settings_) && !fs_.isFile(file) ? std::string(kSilentNoFile) : std::string();
    }
    volume_.soundStarted(*output_, readAlarmVolume(settings_));
    if (const auto level = fade_.soundStarted(ms, readFadeInSeconds(settings_), othersPlaying)) {
        output_->setSessionVolume(*level);
    }
    if (!readSoundCheck(settings_)) return {};
    return std::string(soundProblemText(checkSound(*output_, fs_, file)));
}

void AlarmAudio::fadeStep(std::uint64_t ms) {
    if (const auto level = fade_.step(ms); level && output_ != nullptr) output_->setSessionVolume(*level);
}

void AlarmAudio::soundStopped() {
    if (playing_ == 0 || --playing_ > 0 || output_ == nullptr) return;
    volume_.soundsStopped(*output_);
    // The next sound, a preview too, starts at full volume.
    if (fade_.running()) {
        fade_ = FadeIn();
        output_->setSessionVolume(1.0f);
    }
}

}  // namespace kolvi
