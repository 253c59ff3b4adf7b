#pragma once
// "Will it ring?": the next alarm's line ends with the reason when the sound
// of that alarm will not be heard (no output device, muted, volume 0, no
// such file).
#include <cstdint>
#include <optional>
#include <string>

#include "mainwindow/next_alarm_line.h"
#include "platform/audio_output.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

// The sound file the next alarm within 24 hours plays in a notification
// window; nullopt when that alarm plays none, or there is none so soon.
std::optional<std::string> nextAlarmSound(const AlarmList& list, const LocalTime& now, const SettingsFile& settings);

class SoundCheck {
public:
    // output: null when the system cannot be asked (only a missing file is told).
    SoundCheck(AudioOutput* output, const FileSystem& fs, const SettingsFile& settings)
        : output_(output), fs_(fs), settings_(settings) {}

    // Called after every tick instead of line.update: the full line when it
    // changed. The system is asked when the line's alarm changed, else at
    // most once every 10 seconds.
    std::optional<std::string> follow(NextAlarmLine& line, const AlarmList& list, const LocalTime& now,
                                      std::uint64_t ms);

private:
    std::string reason(const AlarmList& list, const LocalTime& now);

    AudioOutput* output_;
    const FileSystem& fs_;
    const SettingsFile& settings_;
    std::optional<std::uint64_t> checkedMs_;
};

}  // namespace kolvi
