#include "schedule/alarm_check.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "texts/common_texts.h"

namespace kolvi {
namespace {

bool isTwoDigits(int value) { return value >= 0 && value <= 99; }

}  // namespace

std::string clockTimeText(const LocalTime& now) {
    if (!isTwoDigits(now.hour) || !isTwoDigits(now.minute) || !isTwoDigits(now.second)) return "??:??:??";
    return timeOfDayText(now.hour, now.minute, now.second);
}

std::string_view clockDayName(const LocalTime& now) {
    if (now.weekday < 0 || now.weekday >= static_cast<int>(kDayNames.size())) return {};
    return kDayNames[static_cast<std::size_t>(now.weekday)];
}

bool AlarmCheck::isWaiting(std::uint64_t id) const {
    return !waiting_.empty() && std::binary_search(waiting_.begin(), waiting_.end(), id);
}

void AlarmCheck::forgetWaiting() {
    waiting_.clear();
    graced_.clear();
    lastTick_.reset();
}

void AlarmCheck::takeSkip(const AlarmList& list, const LocalTime& now, std::int64_t lastTick,
                          AlarmCheckHost& host) {
    const int grace = host.missedGrace();
    if (grace <= 0) return;
    const std::int64_t moment = localSeconds(now);
    std::vector<MissedAlarm> missed;
    for (const SkippedAlarm& skipped : skippedAlarms(list, now, lastTick)) {
        if (moment - skipped.at <= grace) {
            graced_.push_back(skipped.id);
        } else {
            const AlarmRow& row = list.row(skipped.position);
            missed.push_back({row.text(Column::name), row.text(Column::days), row.text(Column::time)});
        }
    }
    if (!missed.empty()) host.reportMissed(missed);
}

std::optional<std::size_t> AlarmCheck::takeGraced(const AlarmList& list) {
    // Taken off the queue before it fires, so that no nested tick fires it
    // again; one deleted, switched off or already fired meanwhile is dropped.
    while (!graced_.empty()) {
        const std::uint64_t id = graced_.front();
        graced_.erase(graced_.begin());
        const std::optional<std::size_t> position = list.findRow(id);
        if (position && list.row(*position).checked && !list.row(*position).ghosted) return position;
    }
    return std::nullopt;
}

TickResult AlarmCheck::tick(AlarmList& list, const LocalTime& now, AlarmCheckHost& host) {
    // Set before anything is called, so that nested ticks measure from here.
    const std::optional<std::int64_t> lastTick = std::exchange(lastTick_, localSeconds(now));
    if (!list.isFileOpen()) {
        waiting_.clear();
        graced_.clear();
        return {std::string(kStatusNoFile), false};
    }
    if (lastTick && localSeconds(now) - *lastTick > kLongestTickGap) takeSkip(list, now, *lastTick, host);
    const std::string time = clockTimeText(now);
    const std::string_view day = clockDayName(now);

    // One walk over every row: clear the latches of rows whose second is over,
    // pick the first due row, and remember the other due rows so that the
    // following ticks fire them even after their second has passed. Skipped
    // alarms go first: they came due earlier. Nothing here calls out, so
    // positions stay valid for the whole walk.
    std::optional<std::size_t> firing = takeGraced(list);
    bool markCleared = false;
    collecting_.clear();
    for (std::size_t position = 0; position < list.rowCount(); ++position) {
        const AlarmRow& row = list.row(position);
        // An unchecked row keeps its latch, and stops waiting.
        if (!row.checked) continue;
        const bool dueNow = row.text(Column::time) == time;
        if (!dueNow && row.ghosted) {
            list.setGhosted(position, false);
            markCleared = true;
        }
        // A fired row is not waiting, so a latched row is never due.
        const bool due = !row.ghosted &&
                         ((dueNow && !day.empty() && row.text(Column::days).find(day) != std::string::npos) ||
                          isWaiting(row.id));
        if (!due) continue;
        if (firing) {
            collecting_.push_back(row.id);
        } else {
            firing = position;
        }
    }
    // Settled before the action runs: a nested tick must see the fired row
    // latched and no longer waiting.
    waiting_.swap(collecting_);
    std::sort(waiting_.begin(), waiting_.end());
    if (!firing) return {time, markCleared};

    // Copies: the action may delete or move any row, this one included.
    const AlarmRow& fired = list.row(*firing);
    const std::uint64_t id = fired.id;
    const std::string name = fired.text(Column::name);
    const std::string line = fired.tag;
    list.setGhosted(*firing, true);
    list.setSelected(*firing, true);

    host.runAlarm(line);

    // Nested ticks may have added or deleted rows above it, and the action may
    // have closed the file or opened another one: find the row by identity.
    const std::optional<std::size_t> position = list.findRow(id);
    if (position && list.isFileOpen()) {
        if (lineField(list.row(*position).tag, Field::deleteAfterRun) == "1") {
            list.makeCurrent(*position);
            list.deleteCurrentRow();
            host.saveAlarmFile();
        }
    }
    if (!list.isFileOpen()) return {std::string(kStatusNoFile), true};
    if (name.empty()) return {time, true};
    return {time + " (" + name + ")", true};
}

}  // namespace kolvi
