#include "mainwindow/next_alarm_line.h"

#include <utility>

#include "schedule/next_due.h"
#include "texts/main_window_texts.h"

namespace kolvi {
namespace {

constexpr std::int64_t kLongestLookAhead = kSecondsPerDay;

}  // namespace

std::string timeLeftText(std::int64_t seconds) {
    std::string text(kTimeLeftPrefix);
    const std::int64_t minutes = seconds / 60;
    if (minutes <= 0) return text += kUnderAMinute;
    if (minutes >= 60) {
        text += std::to_string(minutes / 60);
        text += kHoursUnit;
        if (minutes % 60 == 0) return text;
    }
    text += std::to_string(minutes % 60);
    return text += kMinutesUnit;
}

std::string nextAlarmLine(const AlarmList& list, const LocalTime& now) {
    const std::optional<DueAlarm> due = nextDue(list, now);
    if (!due) return {};
    const std::int64_t left = due->at - localSeconds(now);
    if (left > kLongestLookAhead) return {};
    const AlarmRow& row = list.row(*list.findRow(due->id));
    std::string line(kNextAlarmPrefix);
    line += row.text(Column::name);
    line += ' ';
    line += row.text(Column::time);
    line += " (";
    line += timeLeftText(left);
    return line += ')';
}

std::optional<std::string> NextAlarmLine::update(const AlarmList& list, const LocalTime& now) {
    if (!shown_ || lookedAt_ == localSeconds(now)) return std::nullopt;
    lookedAt_ = localSeconds(now);
    std::string line = nextAlarmLine(list, now);
    if (line == base_) return std::nullopt;
    base_ = std::move(line);
    line_ = base_.empty() ? base_ : base_ + reason_;
    return line_;
}

std::optional<std::string> NextAlarmLine::setReason(std::string reason) {
    if (reason == reason_) return std::nullopt;
    reason_ = std::move(reason);
    const std::string old = std::exchange(line_, base_.empty() ? base_ : base_ + reason_);
    if (line_ == old) return std::nullopt;
    return line_;
}

std::optional<std::string> NextAlarmLine::clear() {
    lookedAt_.reset();
    base_.clear();
    reason_.clear();
    if (line_.empty()) return std::nullopt;
    line_.clear();
    return line_;
}

}  // namespace kolvi
