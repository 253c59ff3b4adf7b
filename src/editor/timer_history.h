#pragma once
// The timer history: countdowns confirmed in the editor, one line each in
// "timer.history" in the program directory (code page 932, CR LF). A line is
// six comma-separated fields: name, hours, minutes, seconds (as typed), file,
// delete-after-run. An entry is named by its line's position in the file, so
// a line that is skipped never shifts the others.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace kolvi {

inline constexpr std::string_view kTimerHistoryFileName = "timer.history";

struct TimerHistoryEntry {
    std::string name;
    std::string hours, minutes, seconds;  // as typed: one or two digits, or empty
    std::string file;
    bool deleteAfterRun = false;
    friend bool operator==(const TimerHistoryEntry&, const TimerHistoryEntry&) = default;
};

// One item of the name list: the entry's name and its line position.
struct TimerHistoryItem {
    std::string name;
    std::size_t position = 0;
    friend bool operator==(const TimerHistoryItem&, const TimerHistoryItem&) = default;
};

class TimerHistory {
public:
    TimerHistory(FileSystem& fs, const TextCodec& codec, std::string_view programDirectory);

    const std::string& path() const { return path_; }

    // Every usable entry in file order. Lines without exactly six fields, and
    // lines that are not code page 932, are skipped; a missing or unreadable
    // file is an empty history.
    std::vector<TimerHistoryItem> load() const;
    // The entry at a line position, read afresh; nullopt when that line is
    // not there or not usable. A delete field that is not 1 reads as false.
    std::optional<TimerHistoryEntry> entry(std::size_t position) const;
    // Appends the entry as one line, after a line end of its own when the
    // file's last line has none. False when a field holds a comma or a line
    // break, a character code page 932 cannot hold, or the write fails.
    bool record(const TimerHistoryEntry& entry);
    // The message for a failed record: the text, CR LF, the path.
    std::string recordFailureText() const;

private:
    FileSystem& fs_;
    const TextCodec& codec_;
    std::string path_;
};

}  // namespace kolvi
