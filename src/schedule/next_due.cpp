#include "schedule/next_due.h"

#include <cstddef>
#include <string_view>

#include "texts/list_texts.h"

namespace kolvi {
namespace {

constexpr int kDaysAhead = 7;

bool isWeekday(int weekday) { return weekday >= 0 && weekday < 7; }

bool onWeekday(const RowSchedule& schedule, int weekday) {
    return (schedule.days & (1u << static_cast<unsigned>(weekday))) != 0;
}

int secondOfClock(const LocalTime& now) { return now.hour * 3600 + now.minute * 60 + now.second; }

bool containsDay(std::string_view days, int weekday) {
    return days.find(kDayNames[static_cast<std::size_t>(weekday)]) != std::string_view::npos;
}

// A decimal number with an optional minus sign, as the time column writes a
// field (at least two digits, more for a large value). Longer texts than any
// 16-bit value needs are refused, which also keeps the arithmetic in range.
std::optional<int> clockField(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 6) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace

std::optional<int> secondOfDay(std::string_view time) {
    // The column almost always holds "HH:MM:SS"; that shape is read directly,
    // as the next-due search reads every row's time.
    const auto digit = [time](std::size_t at) { return time[at] >= '0' && time[at] <= '9'; };
    if (time.size() == 8 && time[2] == ':' && time[5] == ':' && digit(0) && digit(1) && digit(3) && digit(4) &&
        digit(6) && digit(7)) {
        const auto field = [time](std::size_t at) { return (time[at] - '0') * 10 + (time[at + 1] - '0'); };
        if (field(0) > 23 || field(3) > 59 || field(6) > 59) return std::nullopt;
        return field(0) * 3600 + field(3) * 60 + field(6);
    }
    const std::size_t first = time.find(':');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = time.find(':', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const std::optional<int> hours = clockField(time.substr(0, first));
    const std::optional<int> minutes = clockField(time.substr(first + 1, second - first - 1));
    const std::optional<int> seconds = clockField(time.substr(second + 1));
    if (!hours || !minutes || !seconds) return std::nullopt;
    if (*hours < 0 || *hours > 23 || *minutes < 0 || *minutes > 59 || *seconds < 0 || *seconds > 59) {
        return std::nullopt;
    }
    return *hours * 3600 + *minutes * 60 + *seconds;
}

std::optional<RowSchedule> rowSchedule(const AlarmRow& row) {
    RowSchedule schedule;
    for (int day = 0; day < 7; ++day) {
        if (containsDay(row.text(Column::days), day)) schedule.days |= static_cast<std::uint8_t>(1u << day);
    }
    if (schedule.days == 0) return std::nullopt;
    const std::optional<int> time = secondOfDay(row.text(Column::time));
    if (!time) return std::nullopt;
    schedule.secondOfDay = *time;
    return schedule;
}

std::optional<DueAlarm> nextDue(const AlarmList& list, const LocalTime& now) {
    if (!list.isFileOpen() || !isWeekday(now.weekday)) return std::nullopt;
    const int nowOfDay = secondOfClock(now);
    const std::int64_t midnight = localSeconds(now) - nowOfDay;
    std::optional<DueAlarm> best;
    for (std::size_t position = 0; position < list.rowCount(); ++position) {
        const AlarmRow& row = list.row(position);
        if (!row.checked) continue;
        const std::optional<int> time = secondOfDay(row.text(Column::time));
        if (!time) continue;
        // Today only from now's second on, and now's second only unlatched.
        int ahead = *time > nowOfDay || (*time == nowOfDay && !row.ghosted) ? 0 : 1;
        // The weekday search is the costly part: skip it for a row that could
        // not come before the best one even on its first possible day.
        if (best && midnight + ahead * kSecondsPerDay + *time >= best->at) continue;
        const std::string_view days = row.text(Column::days);
        while (ahead <= kDaysAhead && !containsDay(days, (now.weekday + ahead) % 7)) ++ahead;
        if (ahead > kDaysAhead) continue;  // no weekday at all
        const std::int64_t at = midnight + ahead * kSecondsPerDay + *time;
        if (!best || at < best->at) best = DueAlarm{row.id, at};
    }
    return best;
}

std::optional<std::int64_t> lastDueBefore(const RowSchedule& schedule, const LocalTime& now, std::int64_t after) {
    if (!isWeekday(now.weekday)) return std::nullopt;
    const int nowOfDay = secondOfClock(now);
    const std::int64_t midnight = localSeconds(now) - nowOfDay;
    for (int back = schedule.secondOfDay < nowOfDay ? 0 : 1; back <= kDaysAhead; ++back) {
        const std::int64_t at = midnight - back * kSecondsPerDay + schedule.secondOfDay;
        if (at <= after) return std::nullopt;
        if (onWeekday(schedule, ((now.weekday - back) % 7 + 7) % 7)) return at;
    }
    return std::nullopt;
}

}  // namespace kolvi
