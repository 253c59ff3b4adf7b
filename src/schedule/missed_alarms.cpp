#include "schedule/missed_alarms.h"

#include <algorithm>
#include <optional>

#include "schedule/next_due.h"

namespace kolvi {

std::vector<SkippedAlarm> skippedAlarms(const AlarmList& list, const LocalTime& now, std::int64_t after) {
    std::vector<SkippedAlarm> skipped;
    for (std::size_t position = 0; position < list.rowCount(); ++position) {
        const AlarmRow& row = list.row(position);
        if (!row.checked) continue;
        const std::optional<RowSchedule> schedule = rowSchedule(row);
        if (!schedule) continue;
        if (const std::optional<std::int64_t> at = lastDueBefore(*schedule, now, after)) {
            skipped.push_back({row.id, position, *at});
        }
    }
    std::stable_sort(skipped.begin(), skipped.end(),
                     [](const SkippedAlarm& a, const SkippedAlarm& b) { return a.at < b.at; });
    return skipped;
}

std::string missedAlarmLine(const MissedAlarm& alarm) { return alarm.name + " " + alarm.days + " " + alarm.time; }

bool MissedReport::add(const std::vector<MissedAlarm>& missed) {
    if (missed.empty()) return false;
    const bool opens = !open_;
    open_ = true;
    for (const MissedAlarm& alarm : missed) lines_.push_back(missedAlarmLine(alarm));
    return opens;
}

void MissedReport::close() {
    open_ = false;
    lines_.clear();
}

}  // namespace kolvi
