// Arbitrary bytes as an alarm file: opening must never crash, a refused file
// must say so once, and whatever opens must save and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "store/alarm_file.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace {

using namespace kolvi;
using namespace kolvi::test;

// A file is refused with exactly one message and nothing left open, or it
// saves, and the saved file reads back the same rows, which save to the same
// bytes. Returns "" when this holds, otherwise what went wrong.
std::string checkAlarmFileRoundTrip(std::string_view bytes) {
    ProgramFiles files;
    RecordingMessageBoxes messages;
    const AlarmFileContext context{files.fs, files.codec, messages, files.settings, "C:\\prog"};
    AlarmList first, second;
    files.fs.put("C:\\prog\\round.alm", std::string(bytes));
    if (openAlarmFile(first, context, "round.alm").empty()) {
        // Refused: with one message, and nothing left open.
        return messages.errors.size() == 1 && first.rowCount() == 0 && !first.isFileOpen() ? "" : "a bad refusal";
    }
    if (!messages.errors.empty() || first.tag() != "round.alm") return "an opened file gave a message or another tag";
    if (!saveAlarmFile(first, context)) return "an opened file could not be saved";
    // What was saved opens again, and its rows give the same bytes: the same rows in the same order.
    const std::string saved = files.fs.content("C:\\prog\\round.alm");
    if (openAlarmFile(second, context, "round.alm").empty()) return "a saved file could not be opened again";
    return alarmFileBytes(second, files.codec) == saved ? "" : "the saved file reads back different rows";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string failure = checkAlarmFileRoundTrip(bytes);
    if (!failure.empty()) {
        std::fprintf(stderr, "alarm file round trip: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
