#pragma once
// The alarm file: a version line "1.1" and one alarm line per row, code page
// 932, CR LF.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/text_codec.h"
#include "settings/settings_file.h"
#include "store/alarm_list.h"
#include "texts/file_texts.h"

namespace kolvi {


struct AlarmFileContext {
    FileSystem& fs;
    const TextCodec& codec;
    MessageBoxes& messages;
    const SettingsFile& settings;    // for list/lastopen
    std::string programDirectory;   // no trailing backslash
};

// Splits decoded text into lines: CR LF or a lone CR ends a line, a lone LF
// belongs to the line, and a final CR LF does not make an empty last line.
std::vector<std::string_view> splitFileLines(std::string_view text);

// Clears the list and opens the file (or list/lastopen when path is empty); a
// relative name is taken in the program directory. A file is opened whole or
// not at all: blank lines are skipped, any other line that yields no record
// refuses the file. Returns the full path opened, or "" (with a message where
// one applies).
std::string openAlarmFile(AlarmList& list, const AlarmFileContext& context, const std::string& path);
// Creates or replaces the file with the version line alone. A failed write
// is reported like a failed save.
bool createAlarmFile(const AlarmFileContext& context, const std::string& path);
// Writes every row to the file named by the list's tag. Does nothing (true)
// with no file open; reports a failure with a message and returns false.
bool saveAlarmFile(const AlarmList& list, const AlarmFileContext& context);
// Save As: writes every row to path (relative: in the program directory).
// The list's tag is not touched, so that anything saved while a failure
// message is open still goes to the file that is open; the caller opens the
// new file once it has been written. False (with a message) on failure.
bool saveAlarmFileAs(const AlarmList& list, const AlarmFileContext& context, const std::string& path);
// New: creates the file with the version line alone and opens it. When it
// cannot be created (a message says so) the list keeps the file it had and
// nullopt is returned; otherwise what openAlarmFile returns.
std::optional<std::string> createAndOpenAlarmFile(AlarmList& list, const AlarmFileContext& context,
                                                  const std::string& path);

// The bytes a save writes (exposed for tests and benchmarks); nullopt when a
// row cannot be encoded in code page 932.
std::optional<std::string> alarmFileBytes(const AlarmList& list, const TextCodec& codec);

}  // namespace kolvi
