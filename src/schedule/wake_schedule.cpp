#include "schedule/wake_schedule.h"

#include <algorithm>

#include "schedule/next_due.h"
#include "settings/safety_settings.h"

namespace kolvi {

void WakeSchedule::follow(const AlarmList& list, bool alarmsOn, const LocalTime& now) {
    if (lookedAt_ == localSeconds(now)) return;
    refresh(list, alarmsOn, now);
}

void WakeSchedule::refresh(const AlarmList& list, bool alarmsOn, const LocalTime& now) {
    if (timer_ == nullptr) return;
    const std::int64_t second = localSeconds(now);
    lookedAt_ = second;
    if (awakeUntil_ && second > *awakeUntil_) release();
    const std::optional<DueAlarm> next =
        alarmsOn && list.isFileOpen() && readWakeTimer(settings_) ? nextDue(list, now) : std::nullopt;
    if (!next) {
        if (armedFor_) timer_->cancel();
        armedFor_.reset();
        release();
        return;
    }
    // Keyed on the alarm's moment: inside the lead the armed moment would be
    // a new one every second.
    if (armedFor_ == next->at) return;
    armedFor_ = next->at;
    timer_->arm(std::max(second, next->at - kLeadSeconds));
}

void WakeSchedule::resumed(const LocalTime& now) {
    if (timer_ == nullptr) return;
    const std::int64_t second = localSeconds(now);
    // Woken for an alarm (by the timer or by a person shortly before it).
    if (armedFor_ && *armedFor_ >= second && *armedFor_ - second <= kAwakeSeconds && !awakeUntil_) {
        awakeUntil_ = *armedFor_;
        timer_->keepAwake(true);
    }
    lookedAt_.reset();
}

void WakeSchedule::alarmFired() {
    if (timer_ != nullptr && awakeUntil_) timer_->wakeDisplay();
}

void WakeSchedule::stop() {
    if (timer_ == nullptr) return;
    timer_->cancel();
    armedFor_.reset();
    release();
}

void WakeSchedule::release() {
    if (!awakeUntil_) return;
    awakeUntil_.reset();
    timer_->keepAwake(false);
}

}  // namespace kolvi
