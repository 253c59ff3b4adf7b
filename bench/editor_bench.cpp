// The editor's timer history at the size of years of daily use: loading a
// 10,000-line history, as every opening of the editor does.
#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "editor/timer_history.h"
#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

// History lines of varied content in a fixed pseudo-random order, one line in
// a hundred without six fields (skipped, as a hand-edited file might have).
std::string makeHistory(std::size_t lines) {
    static constexpr std::array<const char*, 6> kNames{"タイマー", "カップ麺", "会議 準備", "表ソ×", "tea", "洗濯"};
    static constexpr std::array<const char*, 4> kFiles{"", "C:\\sound\\bell.wav", "lock", "D:\\音楽\\アラーム.mp3"};
    std::mt19937 random(20240601);
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        if (random() % 100 == 0) {
            text += "hand edited\r\n";
            continue;
        }
        text += std::string(kNames[random() % kNames.size()]) + "," + std::to_string(random() % 3) + "," +
                std::to_string(random() % 60) + ",00," + kFiles[random() % kFiles.size()] + "," +
                (random() % 2 == 0 ? "1" : "0") + "\r\n";
    }
    return text;
}

// Read, decode, split and list the names with their positions.
void BM_LoadTimerHistory(benchmark::State& state) {
    test::MemoryFileSystem fs;
    IconvCodec codec;
    TimerHistory history(fs, codec, "C:\\prog");
    fs.put(history.path(), *codec.encode(makeHistory(static_cast<std::size_t>(state.range(0)))));
    for (auto _ : state) {
        const std::vector<TimerHistoryItem> items = history.load();
        if (items.empty()) state.SkipWithError("nothing loaded");
        benchmark::DoNotOptimize(items.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadTimerHistory)->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kolvi
