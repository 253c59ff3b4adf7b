#include "schedule/countdown_text.h"

#include "schedule/alarm_check.h"
#include "schedule/next_due.h"
#include "texts/alarm_texts.h"

namespace kolvi {
namespace {

constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;

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
