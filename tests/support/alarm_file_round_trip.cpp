#include "support/alarm_file_round_trip.h"

#include "platform/posix/iconv_codec.h"
#include "store/alarm_file.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi::test {

std::string checkAlarmFileRoundTrip(std::string_view bytes) {
    constexpr const char* kPath = "C:\\prog\\round.alm";
    MemoryFileSystem fs;
    IconvCodec codec;
    RecordingMessageBoxes messages;
    SettingsFile settings(fs, codec, "C:\\prog\\kolvialarm.ini");
    const AlarmFileContext context{fs, codec, messages, settings, "C:\\prog"};
    fs.put(kPath, std::string(bytes));

    AlarmList first;
    if (openAlarmFile(first, context, kPath).empty()) {
        if (messages.errors.size() != 1) return "a refused file must give exactly one message";
        if (first.rowCount() != 0 || first.isFileOpen()) return "a refused file left rows or a tag";
        return {};
    }
    if (!messages.errors.empty()) return "an opened file gave a message";
    if (first.tag() != "round.alm") return "unexpected tag " + first.tag();

    if (!saveAlarmFile(first, context)) return "an opened file could not be saved";
    const std::string saved = fs.content(kPath);
    AlarmList second;
    if (openAlarmFile(second, context, kPath).empty()) return "a saved file could not be opened again";
    if (first.rowCount() != second.rowCount()) return "the saved file reads back a different number of rows";
    for (std::size_t i = 0; i < first.rowCount(); ++i) {
        if (first.row(i).tag != second.row(i).tag) return "the saved file reads back different rows";
    }
    if (alarmFileBytes(second, codec) != saved) return "saving the reread rows gives different bytes";
    return {};
}

}  // namespace kolvi::test
