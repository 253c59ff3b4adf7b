#pragma once
// Making an alarm heard: whether its sound can be heard at all, the alarm
// volume that is raised while notification windows sound and given back
// afterwards, and the fade-in of the program's own volume.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/audio_output.h"
#include "platform/file_system.h"
#include "settings/settings_file.h"

namespace kolvi {

// alarm/soundcheck, default 1: tell before an alarm that it will be silent.
bool readSoundCheck(const SettingsFile& settings);
// alarm/volume, percent 0-100, default 0 (leave the system's volume alone).
int readAlarmVolume(const SettingsFile& settings);
// alarm/fadein, seconds 0-60, default 0 (full volume at once).
int readFadeInSeconds(const SettingsFile& settings);

enum class SoundProblem { none, muted, levelZero, noDevice, noFile };

// Why a sound file will not be heard. A missing file comes first; an output
// that could not be asked (nullopt) gives none, as nothing is known.
SoundProblem soundProblem(bool fileExists, const std::optional<OutputState>& output);
// The text that ends a line about such a sound; "" for none.
std::string_view soundProblemText(SoundProblem problem);
// The problem of one sound file as the system stands now.
SoundProblem checkSound(AudioOutput& output, const FileSystem& fs, const std::string& file);

// Raises the default output while notification windows sound, and gives the
// user's own level and mute back exactly when the last one stops, unless the
// user changed them meanwhile.
class AlarmVolume {
public:
    // A sound starts: muted or below percent (1-100) is unmuted and raised to
    // percent; 0 leaves everything as it is.
    void soundStarted(AudioOutput& output, int percent);
    // The last sound stopped.
    void soundsStopped(AudioOutput& output);
    bool holding() const { return saved_.has_value(); }

private:
    std::optional<OutputState> saved_;  // the user's state before the raise
    OutputState set_;                   // what the raise left
};

// The program's session volume during a fade-in: 10% at the start, 100%
// after `seconds`, in a straight line.
float fadeLevel(std::uint64_t elapsedMs, int seconds);

class FadeIn {
public:
    // A sound starts at ms: the ramp starts when no other sound plays (a
    // running ramp, or a window at full volume, is left alone). The level to
    // set now, or nullopt for nothing to do.
    std::optional<float> soundStarted(std::uint64_t ms, int seconds, bool othersPlaying);
    // The level to set at ms while the ramp runs; its last step is 1.0, after
    // which it is over (nullopt).
    std::optional<float> step(std::uint64_t ms);
    bool running() const { return seconds_ > 0; }

private:
    std::uint64_t startMs_ = 0;
    int seconds_ = 0;
};

// All of the above for the notification windows, as their sounds start and
// stop. No system call is made while the three settings leave it nothing to do.
class AlarmAudio {
public:
    AlarmAudio(AudioOutput* output, const FileSystem& fs, const SettingsFile& settings)
        : output_(output), fs_(fs), settings_(settings) {}

    // A window is about to play file at ms: the volume is raised, the fade
    // begins. Returns what ends the window's first line ("" when it will be
    // heard, or the check is off).
    std::string soundStarting(const std::string& file, std::uint64_t ms);
    // While a fade runs, every sounding window steps it on a timer.
    bool fading() const { return fade_.running(); }
    void fadeStep(std::uint64_t ms);
    // A window that started a sound stopped it.
    void soundStopped();

private:
    AudioOutput* output_;
    const FileSystem& fs_;
    const SettingsFile& settings_;
    AlarmVolume volume_;
    FadeIn fade_;
    int playing_ = 0;
};

}  // namespace kolvi
