#include "support/alarm_file_round_trip.h"

#include <vector>

#include "platform/posix/iconv_codec.h"
#include "store/alarm_file.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi::test {
namespace {

constexpr const char* kProgramDirectory = "C:\\prog";
constexpr const char* kPath = "C:\\prog\\round.alm";

std::vector<std::string> tags(const AlarmList& list) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < list.rowCount(); ++i) result.push_back(list.row(i).tag);
    return result;
}

}  // namespace

std::string checkAlarmFileRoundTrip(std::string_view bytes) {
    MemoryFileSystem fs;
    IconvCodec codec;
    RecordingMessageBoxes messages;
    SettingsFile settings(fs, codec, std::string(kProgramDirectory) + "\\kolvialarm.ini");
    const AlarmFileContext context{fs, codec, messages, settings, kProgramDirectory};
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
    if (tags(first) != tags(second)) return "the saved file reads back different rows";
    if (alarmFileBytes(second, codec) != saved) return "saving the reread rows gives different bytes";
    return {};
}

}  // namespace kolvi::test
