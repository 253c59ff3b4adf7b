// The alarm check over a heavy user's list: one tick must stay far below the
// timer's interval, since a second without a tick is a second nothing fires.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>

#include "schedule/alarm_check.h"
#include "schedule/next_due.h"

namespace kolvi {
namespace {

constexpr LocalTime kNow{3, 12, 34, 56};  // Wednesday 12:34:56

class SilentHost final : public AlarmCheckHost {
public:
    void runAlarm(const std::string& line) override { benchmark::DoNotOptimize(line.data()); }
    void saveAlarmFile() override {}
};

// Checked rows at varied times and days, none of them at kNow's time of day.
// With sameTime every row is at kNow's time but set for no Wednesday, so each
// one gets the weekday search as well: a stress case no real list comes near,
// kept to show what the weekday search costs.
AlarmList makeList(std::size_t count, bool sameTime) {
    std::mt19937 random(20240601);
    AlarmList list;
    list.setTag("bench.alm");
    for (std::size_t i = 0; i < count; ++i) {
        AlarmRecord record;
        record.name = "alarm" + std::to_string(i);
        for (bool& day : record.days) day = random() % 2 == 0;
        if (sameTime) {
            record.days[static_cast<std::size_t>(kNow.weekday)] = false;
            record.hour = kNow.hour;
            record.minute = kNow.minute;
            record.second = kNow.second;
        } else {
            record.hour = static_cast<std::int16_t>(random() % 24);
            record.minute = static_cast<std::int16_t>(random() % 60);
            record.second = static_cast<std::int16_t>(random() % 60);
            if (record.hour == kNow.hour && record.minute == kNow.minute) record.second = 0;
        }
        record.file = i % 2 == 0 ? "C:\\sound\\bell.wav" : "";
        list.addAlarmRow(record);
    }
    list.renumberRows();
    list.clearCurrent();
    return list;
}

// Nothing fires; with `atThisTime` every row has the current time but none of
// today's days, so each one also costs the weekday search.
void tickOverRows(benchmark::State& state, bool atThisTime) {
    AlarmList list = makeList(static_cast<std::size_t>(state.range(0)), atThisTime);
    AlarmCheck check;
    SilentHost host;
    for (auto _ : state) {
        std::string status = check.tick(list, kNow, host).status;
        benchmark::DoNotOptimize(status);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_TickNoneDue(benchmark::State& state) { tickOverRows(state, false); }
BENCHMARK(BM_TickNoneDue)->Arg(10'000)->Unit(benchmark::kMicrosecond);

void BM_TickEveryRowAtThisTimeOnOtherDays(benchmark::State& state) { tickOverRows(state, true); }
BENCHMARK(BM_TickEveryRowAtThisTimeOnOtherDays)->Arg(10'000)->Unit(benchmark::kMicrosecond);

// The last row is due: every tick walks all rows, fires it and builds the
// status with its name. Its latch is lifted again so each tick fires it.
void BM_TickOneDueAtTheEnd(benchmark::State& state) {
    AlarmList list = makeList(static_cast<std::size_t>(state.range(0)) - 1, false);
    AlarmRecord due;
    due.name = "最後";
    due.days.fill(true);
    due.hour = kNow.hour;
    due.minute = kNow.minute;
    due.second = kNow.second;
    list.addAlarmRow(due);
    const std::size_t last = list.rowCount() - 1;
    AlarmCheck check;
    SilentHost host;
    for (auto _ : state) {
        std::string status = check.tick(list, kNow, host).status;
        benchmark::DoNotOptimize(status);
        list.setGhosted(last, false);
    }
    if (!list.row(last).selected) state.SkipWithError("the due row did not fire");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TickOneDueAtTheEnd)->Arg(10'000)->Unit(benchmark::kMicrosecond);

// The next due moment over the whole list: computed for the next-alarm line
// and the wake timer, so it must stay well below one tick's interval.
void BM_NextDue(benchmark::State& state) {
    AlarmList list = makeList(static_cast<std::size_t>(state.range(0)), false);
    for (auto _ : state) {
        std::optional<DueAlarm> due = nextDue(list, kNow);
        benchmark::DoNotOptimize(due);
    }
    if (!nextDue(list, kNow)) state.SkipWithError("nothing came due");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NextDue)->Arg(10'000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kolvi
