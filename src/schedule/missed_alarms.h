#pragma once
// Alarms of seconds the check did not see although it was running (the
// machine slept, the process was suspended, the clock jumped forward): which
// rows came due in that span, and the report of those too old to fire.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "store/alarm_list.h"

namespace kolvi {

// A gap between two ticks up to this long is ordinary (a tick late by a
// little, or a second without a tick, which the check has always let pass);
// a longer one is a skip.
inline constexpr std::int64_t kLongestTickGap = 2;

struct SkippedAlarm {
    std::uint64_t id = 0;       // the row
    std::size_t position = 0;   // its position when the span was computed
    std::int64_t at = 0;        // localSeconds of its latest due moment in the span
};
// Every checked row that came due after `after` and before now (both
// excluded), in due order, the upper row first on a tie. A row that came due
// several times in the span (a machine asleep for days) counts once, at its
// latest moment: firing or listing it more often would say nothing new.
std::vector<SkippedAlarm> skippedAlarms(const AlarmList& list, const LocalTime& now, std::int64_t after);

// A skipped alarm too old to fire, as its row showed it.
struct MissedAlarm {
    std::string name;
    std::string days;  // weekday column text
    std::string time;  // "HH:MM:SS"
    friend bool operator==(const MissedAlarm&, const MissedAlarm&) = default;
};
// Its line in the missed-alarm window: name, weekday text and time, blank-separated.
std::string missedAlarmLine(const MissedAlarm& alarm);

// The one missed-alarm window: opened by the first report, it grows with
// every later report while it is open, and starts empty after OK.
class MissedReport {
public:
    // True when the window is to be opened (it was closed); otherwise the
    // window is open and shows lines() again with the new ones at the end.
    bool add(const std::vector<MissedAlarm>& missed);
    // OK or the close box.
    void close();
    bool open() const { return open_; }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
    bool open_ = false;
};

}  // namespace kolvi
