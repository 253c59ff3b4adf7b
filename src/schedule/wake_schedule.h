#pragma once
// The wake timer's rules: it follows the next due alarm while alarm/wake is 1
// and the alarms are on, wakes the machine a lead before the alarm (resuming
// takes seconds, and an alarm whose second no tick saw would not ring), and
// after a resume keeps the system up until that alarm has come due.
#include <cstdint>
#include <optional>

#include "platform/clock.h"
#include "platform/wake_timer.h"
#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

class WakeSchedule {
public:
    // Well inside the couple of minutes a system woken by a timer waits
    // before it sleeps again on its own.
    static constexpr std::int64_t kLeadSeconds = 60;
    // How soon after a resume an alarm must be due for the system to be kept
    // up for it.
    static constexpr std::int64_t kAwakeSeconds = 5 * 60;

    // timer null: the program never wakes the machine.
    WakeSchedule(WakeTimer* timer, const SettingsFile& settings) : timer_(timer), settings_(settings) {}

    // Looks at the list, and reads alarm/wake, at most once per second: arms
    // the timer for the next due alarm, moves it when that alarm's moment
    // changed, and cancels it when there is none, the setting is off or the
    // alarms are switched off.
    void follow(const AlarmList& list, bool alarmsOn, const LocalTime& now);
    // The same at once, whatever second it is (after a save or a switch).
    void refresh(const AlarmList& list, bool alarmsOn, const LocalTime& now);
    // Back from sleep: when the alarm the timer was armed for is due within
    // kAwakeSeconds, the system stays up until it has come due.
    void resumed(const LocalTime& now);
    // An alarm fires: while the system is kept up after a resume, the display
    // is switched on for it.
    void alarmFired();
    // The program ends: nothing is left armed and the system may sleep.
    void stop();

    bool keepingAwake() const { return awakeUntil_.has_value(); }

private:
    void release();

    WakeTimer* timer_;
    const SettingsFile& settings_;
    std::optional<std::int64_t> armedFor_;   // the due moment of the alarm the timer is armed for
    std::optional<std::int64_t> lookedAt_;   // the second follow last looked in
    std::optional<std::int64_t> awakeUntil_; // kept up after a resume until past this second
};

}  // namespace kolvi
