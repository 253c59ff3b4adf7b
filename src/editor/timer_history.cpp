#include "editor/timer_history.h"

#include <array>

#include "store/alarm_file.h"
#include "store/alarm_record.h"
#include "store/paths.h"
#include "texts/editor_texts.h"
#include "text/fields.h"

namespace kolvi {
namespace {

constexpr std::size_t kHistoryFieldCount = 6;
constexpr std::string_view kLineEnd = "\r\n";

using HistoryFields = std::array<std::string_view, kHistoryFieldCount + 1>;

// True when the line has exactly six fields (a seventh slot catches more).
bool splitHistoryLine(std::string_view line, HistoryFields& fields) {
    return splitFieldsInto(line, fields) == kHistoryFieldCount;
}

// Whether text appended to these bytes starts a line of its own: a final CR
// ends a line, a lone LF does not.
bool endsWithLineEnd(std::string_view bytes) {
    return bytes.empty() || bytes.back() == '\r' || bytes.ends_with(kLineEnd);
}

}  // namespace

TimerHistory::TimerHistory(FileSystem& fs, const TextCodec& codec, std::string_view programDirectory)
    : fs_(fs), codec_(codec), path_(resolveInProgramDirectory(kTimerHistoryFileName, programDirectory)) {}

std::vector<TimerHistoryItem> TimerHistory::load() const {
    const FileRead read = fs_.readFile(path_);
    if (read.status != ReadStatus::ok) return {};
    // Decoding the whole file at once is the fast way; only a file holding bad
    // bytes is decoded line by line, so that one bad line loses only itself.
    // Code page 932 never uses CR or LF inside a character, so the lines are
    // the same either way.
    const std::optional<std::string> whole = codec_.decode(read.bytes);
    const std::vector<std::string_view> lines = splitFileLines(whole ? *whole : read.bytes);
    std::vector<TimerHistoryItem> items;
    items.reserve(lines.size());
    HistoryFields fields;
    for (std::size_t position = 0; position < lines.size(); ++position) {
        std::string_view line = lines[position];
        std::optional<std::string> decoded;
        if (!whole) {
            decoded = codec_.decode(line);
            if (!decoded) continue;
            line = *decoded;
        }
        if (splitHistoryLine(line, fields)) items.push_back({std::string(fields[0]), position});
    }
    return items;
}

std::optional<TimerHistoryEntry> TimerHistory::entry(std::size_t position) const {
    const FileRead read = fs_.readFile(path_);
    if (read.status != ReadStatus::ok) return std::nullopt;
    const std::vector<std::string_view> lines = splitFileLines(read.bytes);
    if (position >= lines.size()) return std::nullopt;
    const std::optional<std::string> line = codec_.decode(lines[position]);
    HistoryFields fields;
    if (!line || !splitHistoryLine(*line, fields)) return std::nullopt;
    return TimerHistoryEntry{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                             std::string(fields[3]), std::string(fields[4]), textToFlag(fields[5])};
}

bool TimerHistory::record(const TimerHistoryEntry& entry) {
    std::string line;
    for (const std::string* field : {&entry.name, &entry.hours, &entry.minutes, &entry.seconds, &entry.file}) {
        if (field->find_first_of(",\r\n") != std::string::npos) return false;
        line.append(*field).append(1, ',');
    }
    line.append(entry.deleteAfterRun ? "1" : "0").append(kLineEnd);
    const std::optional<std::string> bytes = codec_.encode(line);
    if (!bytes) return false;
    const FileRead existing = fs_.readFile(path_);
    if (existing.status == ReadStatus::ok && !endsWithLineEnd(existing.bytes)) {
        return fs_.appendFile(path_, std::string(kLineEnd) + *bytes);
    }
    return fs_.appendFile(path_, *bytes);
}

std::string TimerHistory::recordFailureText() const {
    std::string text(kMsgHistoryNotRecorded);
    text.append(kLineEnd).append(path_);
    return text;
}

}  // namespace kolvi
