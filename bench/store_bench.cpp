// The alarm store at the sizes a heavy user reaches: opening and saving a
// 10,000-alarm file, sorting its rows by each column, and the line codec.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "store/alarm_file.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

constexpr const char* kDir = "C:\\prog";
constexpr const char* kPath = "C:\\prog\\bench.alm";

// Alarm lines of varied content, in a fixed pseudo-random order.
std::vector<std::string> makeLines(std::size_t count) {
    static constexpr std::array<const char*, 8> kNames{"朝会", "カップ麺", "帰宅", "会議 準備", "表ソ×", "lunch", "薬", "ゴミ出し"};
    static constexpr std::array<const char*, 5> kFiles{"", "C:\\sound\\bell.wav", "lock", "D:\\音楽\\アラーム.mp3", "notepad.exe"};
    std::mt19937 random(20240601);
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        AlarmRecord record;
        record.enabled = random() % 4 != 0;
        record.name = std::string(kNames[random() % kNames.size()]) + std::to_string(random() % 1000);
        for (bool& day : record.days) day = random() % 2 == 0;
        record.hour = static_cast<std::int16_t>(random() % 24);
        record.minute = static_cast<std::int16_t>(random() % 60);
        record.second = static_cast<std::int16_t>(random() % 60);
        record.file = kFiles[random() % kFiles.size()];
        record.deleteAfterRun = random() % 3 == 0;
        lines.push_back(formatAlarmLine(record));
    }
    return lines;
}

struct Store {
    explicit Store(std::size_t alarms) {
        std::string text = "1.1\r\n";
        for (const std::string& line : makeLines(alarms)) text += line + "\r\n";
        fs.put(kPath, *codec.encode(text));
    }
    test::MemoryFileSystem fs;
    IconvCodec codec;
    test::RecordingMessageBoxes messages;
    SettingsFile settings{fs, codec, "C:\\prog\\kolvialarm.ini"};
    AlarmFileContext context{fs, codec, messages, settings, kDir};
};

// Read, decode, parse, build the rows, sorted as at start-up (by time).
void BM_OpenAlarmFile(benchmark::State& state) {
    Store store(static_cast<std::size_t>(state.range(0)));
    AlarmList list;
    list.applySort(Column::time, SortOrder::ascending);
    for (auto _ : state) {
        const std::string opened = openAlarmFile(list, store.context, kPath);
        if (opened.empty()) state.SkipWithError("the file did not open");
        benchmark::DoNotOptimize(list.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OpenAlarmFile)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Format, encode and write every row.
void BM_SaveAlarmFile(benchmark::State& state) {
    Store store(static_cast<std::size_t>(state.range(0)));
    AlarmList list;
    if (openAlarmFile(list, store.context, kPath).empty()) state.SkipWithError("the file did not open");
    for (auto _ : state) {
        if (!saveAlarmFile(list, store.context)) state.SkipWithError("the save failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveAlarmFile)->Arg(10'000)->Unit(benchmark::kMillisecond);

// Sorting 10,000 rows in file order by one column (the argument is the column's number).
void BM_SortRows(benchmark::State& state) {
    Store store(10'000);
    AlarmList unsorted;
    if (openAlarmFile(unsorted, store.context, kPath).empty()) state.SkipWithError("the file did not open");
    const auto column = static_cast<Column>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        AlarmList list = unsorted;
        state.ResumeTiming();
        list.applySort(column, SortOrder::ascending);
        benchmark::DoNotOptimize(list.row(0).texts[0].data());
    }
}
BENCHMARK(BM_SortRows)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// Adding one alarm to a sorted list of 10,000 (binary search and insert).
void BM_AddRowSorted(benchmark::State& state) {
    Store store(10'000);
    AlarmList list;
    list.applySort(Column::name, SortOrder::ascending);
    if (openAlarmFile(list, store.context, kPath).empty()) state.SkipWithError("the file did not open");
    const std::vector<std::string> lines = makeLines(64);
    std::size_t next = 0;
    for (auto _ : state) {
        list.addAlarmLine(lines[next++ % lines.size()]);
        state.PauseTiming();
        list.deleteCurrentRow();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddRowSorted)->Unit(benchmark::kMicrosecond);

void BM_ParseAndFormatLines(benchmark::State& state) {
    const std::vector<std::string> lines = makeLines(100'000);
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const std::string& line : lines) bytes += formatAlarmLine(*parseAlarmLine(line)).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_ParseAndFormatLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kolvi
