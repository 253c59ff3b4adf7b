// Arbitrary bytes as the timer history: loading and reading never crash and
// agree on every line, and a record lands on a line of its own without
// disturbing the older entries.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "editor/timer_history.h"
#include "platform/posix/iconv_codec.h"
#include "store/alarm_file.h"
#include "support/memory_file_system.h"

namespace kolvi::fuzzcheck {

std::string checkTimerHistory(std::string_view bytes) {
    test::MemoryFileSystem fs;
    IconvCodec codec;
    TimerHistory history(fs, codec, "C:\\prog");
    fs.put(history.path(), std::string(bytes));
    const std::vector<TimerHistoryItem> items = history.load();
    const std::size_t lineCount = splitFileLines(bytes).size();

    // Reading a line gives its item's entry; a line that is no item reads as nothing.
    // Lines up to one past the last, at most 200 (each read reads the whole file).
    const std::size_t checked = std::min<std::size_t>(lineCount + 1, 200);
    std::vector<TimerHistoryItem> read;
    for (std::size_t position = 0; position < checked; ++position) {
        if (const auto entry = history.entry(position)) read.push_back({entry->name, position});
    }
    const auto end =
        std::find_if(items.begin(), items.end(), [checked](const auto& i) { return i.position >= checked; });
    if (!std::equal(read.begin(), read.end(), items.begin(), end)) return "load and entry disagree";
    if (!items.empty() && items.back().position >= lineCount) return "an item beyond the last line";

    // A record lands on a line of its own and leaves the older entries alone;
    // an entry read back records again unchanged (unless a field holds a
    // lone LF, which is no line end but which recording refuses).
    std::optional<TimerHistoryEntry> recorded = items.empty() ? std::nullopt : history.entry(items.front().position);
    if (!recorded || (recorded->name + recorded->hours + recorded->minutes + recorded->seconds + recorded->file)
                             .find('\n') != std::string::npos) {
        recorded = TimerHistoryEntry{"タイマー", "00", "3", "", "C:\\音.wav", true};
    }
    if (!history.record(*recorded)) return "record failed";
    std::vector<TimerHistoryItem> expected = items;
    expected.push_back({recorded->name, lineCount});
    if (history.load() != expected) return "recording changed the older entries or landed elsewhere";
    if (history.entry(lineCount) != recorded) return "the recorded entry reads back differently";
    return "";
}

}  // namespace kolvi::fuzzcheck

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        kolvi::fuzzcheck::checkTimerHistory(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "timer history check failed: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
