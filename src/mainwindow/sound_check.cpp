#include "mainwindow/sound_check.h"

#include "notify/alarm_action.h"
#include "notify/alarm_audio.h"
#include "schedule/next_due.h"

namespace kolvi {
namespace {

constexpr std::uint64_t kCheckPeriodMs = 10'000;

}  // namespace

std::optional<std::string> nextAlarmSound(const AlarmList& list, const LocalTime& now, const SettingsFile& settings) {
    const std::optional<DueAlarm> due = nextDue(list, now);
    if (!due || due->at - localSeconds(now) > kSecondsPerDay) return std::nullopt;
    const AlarmAction action = decideAlarmAction(list.row(*list.findRow(due->id)).tag, AlarmMode::fire, settings);
    if (action.kind != AlarmActionKind::soundWindow) return std::nullopt;
    return action.file;
}

std::string SoundCheck::reason(const AlarmList& list, const LocalTime& now) {
    if (!readSoundCheck(settings_)) return {};
    const std::optional<std::string> file = nextAlarmSound(list, now, settings_);
    if (!file) return {};
    if (output_ == nullptr) return fs_.isFile(*file) ? std::string() : std::string(soundProblemText(SoundProblem::noFile));
    return std::string(soundProblemText(checkSound(*output_, fs_, *file)));
}

std::optional<std::string> SoundCheck::follow(NextAlarmLine& line, const AlarmList& list, const LocalTime& now,
                                              std::uint64_t ms) {
    std::optional<std::string> changed = line.update(list, now);
    if (line.base().empty()) return changed;
    if (!changed && checkedMs_ && ms - *checkedMs_ < kCheckPeriodMs) return changed;
    checkedMs_ = ms;
    if (auto withReason = line.setReason(reason(list, now))) return withReason;
    return changed;
}

}  // namespace kolvi
