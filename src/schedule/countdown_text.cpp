#include "schedule/countdown_text.h"

#include "schedule/alarm_check.h"
#include "texts/alarm_texts.h"

namespace kolvi {
namespace {

constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;

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

// Seconds since midnight of an "H:M:S" text naming a real time of day.
std::optional<int> secondOfDay(std::string_view time) {
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
    return *hours * kSecondsPerHour + *minutes * kSecondsPerMinute + *seconds;
}

}  // namespace

std::string countdownText(bool toolTipsOn, const std::optional<CountdownRow>& row, const LocalTime& now) {
    if (!toolTipsOn || !row) return {};
    std::string tip = "[" + std::string(row->name) + "]";
    if (!row->checked) return tip += kTipStopped;
    const std::string_view day = clockDayName(now);
    if (day.empty() || row->days.find(day) == std::string_view::npos) return tip += kTipNotToday;
    const std::optional<int> due = secondOfDay(row->time);
    if (!due) return tip += kTipImpossibleTime;
    const int seconds = *due - (now.hour * kSecondsPerHour + now.minute * kSecondsPerMinute + now.second);
    if (seconds < 0) return tip += kTipPassed;
    tip += kTipSecondsBefore;
    tip += std::to_string(seconds);
    return tip += kTipSecondsAfter;
}

std::string rowCountdownText(bool toolTipsOn, const AlarmRow* row, const LocalTime& now) {
    if (row == nullptr) return countdownText(toolTipsOn, std::nullopt, now);
    return countdownText(toolTipsOn, CountdownRow{row->checked, row->text(Column::name), row->text(Column::days), row->text(Column::time)}, now);
}

}  // namespace kolvi
