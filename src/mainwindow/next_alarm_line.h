#pragma once
// The line about the next alarm: the third line of the tray tip and the
// status bar's second panel, e.g. "次: 会議 10:30:00 (あと 2時間5分)".
#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "store/alarm_list.h"

namespace kolvi {

// The time left until a due moment, in whole minutes rounded down: "あと
// 1分未満" under a minute, "あと 59分" under an hour, "あと 2時間5分" beyond,
// and "あと 2時間" on the full hour. Seconds below 0 count as 0.
std::string timeLeftText(std::int64_t seconds);

// The line for the alarm that comes due next (nextDue) when that is at most
// 24 hours away; "" when there is none so soon or no file is open.
std::string nextAlarmLine(const AlarmList& list, const LocalTime& now);

// The window's copy of the line, so that it redraws the tip and the panel
// only when the line changes.
class NextAlarmLine {
public:
    // shown: the settings' window/shownext; when false the line is always "".
    explicit NextAlarmLine(bool shown) : shown_(shown) {}

    // Called after every check tick: the new line when it differs from the
    // last one returned (redraw the panel and modify the tray tip), nullopt
    // when it is the same. The list is looked at once per second at most, so
    // a change to it shows from the next second's tick on.
    std::optional<std::string> update(const AlarmList& list, const LocalTime& now);
    // The master switch turned the alarms off, so no alarm is next: "" when a
    // line was shown, else nullopt. The next tick's update starts afresh.
    std::optional<std::string> clear();
    // What follows the line when its alarm will not be heard ("" none): the
    // new full line when it changed.
    std::optional<std::string> setReason(std::string reason);
    const std::string& line() const { return line_; }
    const std::string& base() const { return base_; }  // the line without the reason
    bool shown() const { return shown_; }

private:
    bool shown_;
    std::optional<std::int64_t> lookedAt_;  // localSeconds of the last look
    std::string base_, reason_, line_;
};

}  // namespace kolvi
