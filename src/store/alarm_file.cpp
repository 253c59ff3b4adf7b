#include "store/alarm_file.h"

#include <cstddef>

#include "text/decimal_text.h"
#include "store/paths.h"

namespace kolvi {
namespace {

constexpr std::string_view kVersionLine = "1.1";
constexpr std::string_view kLineEnd = "\r\n";

enum class VersionCheck { accepted, notANumber, tooOld };

// The version is compared as a decimal number: 1.1 and 1.10 are accepted,
// 1.09 is not.
VersionCheck checkVersionLine(std::string_view line) {
    const std::optional<DecimalText> version = parseDecimalText(line);
    if (!version) return VersionCheck::notANumber;
    const DecimalText oldest{false, "1", "1"};
    return compareDecimal(*version, oldest) < 0 ? VersionCheck::tooOld : VersionCheck::accepted;
}

bool isBlankLine(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// The message, a line break and the path; a failed write adds the system's
// reason as a third line.
void report(const AlarmFileContext& context, std::string_view message, std::string_view path,
            std::string_view reason = {}) {
    std::string text;
    text.append(message).append(kLineEnd).append(path);
    if (!reason.empty()) text.append(kLineEnd).append(reason);
    context.messages.showError(text);
}

// Reads the alarms of a file, or names the message that refuses it.
struct FileContent {
    std::vector<AlarmRecord> records;
    std::string_view refusal;  // empty when the file was accepted
};

FileContent readAlarms(const std::string& bytes, const TextCodec& codec) {
    // An empty file has no version line. A NUL byte never belongs in the text
    // (a file left zero-filled by a crash must not be opened and overwritten).
    if (bytes.empty() || bytes.find('\0') != std::string::npos) return {{}, kMsgBadFormat};
    const std::optional<std::string> text = codec.decode(bytes);
    if (!text) return {{}, kMsgBadFormat};

    const std::vector<std::string_view> lines = splitFileLines(*text);
    if (lines.empty()) return {{}, kMsgBadFormat};
    switch (checkVersionLine(lines.front())) {
    case VersionCheck::notANumber:
        return {{}, kMsgBadFormat};
    case VersionCheck::tooOld:
        return {{}, kMsgOldVersion};
    case VersionCheck::accepted:
        break;
    }

    FileContent content;
    content.records.reserve(lines.size() - 1);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (isBlankLine(lines[i])) continue;
        std::optional<AlarmRecord> record = parseAlarmLine(lines[i]);
        // Skipping the line would lose it at the next save without a word.
        if (!record) return {{}, kMsgBadFormat};
        content.records.push_back(std::move(*record));
    }
    return content;
}

}  // namespace

std::vector<std::string_view> splitFileLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t cr = text.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::string openAlarmFile(AlarmList& list, const AlarmFileContext& context, const std::string& path) {
    list.clearRows();
    list.setTag("");

    // Relative names always mean the program directory, never the current one.
    const std::string fullPath = resolveInProgramDirectory(
        path.empty() ? context.settings.readString("list", "lastopen", "") : path, context.programDirectory);
    if (fullPath.empty()) return {};

    if (!context.fs.isOrdinaryFile(fullPath)) {
        report(context, kMsgFileNotFound, fullPath);
        return {};
    }
    const FileRead read = context.fs.readFile(fullPath);
    if (read.status != ReadStatus::ok) {
        report(context, read.status == ReadStatus::missing ? kMsgFileNotFound : kMsgCannotOpen, fullPath);
        return {};
    }
    const FileContent content = readAlarms(read.bytes, context.codec);
    if (!content.refusal.empty()) {
        report(context, content.refusal, fullPath);
        return {};
    }

    list.setTag(fileTagFor(fullPath, context.programDirectory));
    list.loadRows(content.records);
    return fullPath;
}

bool createAlarmFile(const AlarmFileContext& context, const std::string& path) {
    if (path.empty()) return false;
    const std::string fullPath = resolveInProgramDirectory(path, context.programDirectory);
    std::string bytes(kVersionLine);
    bytes += kLineEnd;
    if (!context.fs.replaceFile(fullPath, bytes)) {
        report(context, kMsgCannotSave, fullPath, context.fs.lastWriteError());
        return false;
    }
    return true;
}

std::optional<std::string> alarmFileBytes(const AlarmList& list, const TextCodec& codec) {
    std::size_t size = kVersionLine.size() + kLineEnd.size();
    for (std::size_t i = 0; i < list.rowCount(); ++i) size += list.row(i).tag.size() + kLineEnd.size();

    std::string text;
    text.reserve(size);
    text.append(kVersionLine).append(kLineEnd);
    for (std::size_t i = 0; i < list.rowCount(); ++i) {
        const std::string& line = list.row(i).tag;
        // A CR would end the line early and a NUL makes the file unreadable:
        // either way the file could not be opened again as written.
        if (line.find_first_of(std::string_view("\r\0", 2)) != std::string::npos) return std::nullopt;
        text.append(line).append(kLineEnd);
    }
    return codec.encode(text);
}

namespace {

bool writeRows(const AlarmList& list, const AlarmFileContext& context, const std::string& fullPath) {
    const std::optional<std::string> bytes = alarmFileBytes(list, context.codec);
    if (!bytes) {
        report(context, kMsgCannotSave, fullPath);
        return false;
    }
    if (!context.fs.replaceFile(fullPath, *bytes)) {
        report(context, kMsgCannotSave, fullPath, context.fs.lastWriteError());
        return false;
    }
    return true;
}

}  // namespace

bool saveAlarmFile(const AlarmList& list, const AlarmFileContext& context) {
    if (!list.isFileOpen()) return true;
    return writeRows(list, context, resolveInProgramDirectory(list.tag(), context.programDirectory));
}

bool saveAlarmFileAs(const AlarmList& list, const AlarmFileContext& context, const std::string& path) {
    if (path.empty()) return false;
    return writeRows(list, context, resolveInProgramDirectory(path, context.programDirectory));
}

std::optional<std::string> createAndOpenAlarmFile(AlarmList& list, const AlarmFileContext& context,
                                                  const std::string& path) {
    if (!createAlarmFile(context, path)) return std::nullopt;
    return openAlarmFile(list, context, path);
}

}  // namespace kolvi
