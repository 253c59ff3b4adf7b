#include "settings/settings_file.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/profile_text.h"
#include "text/utf8.h"

namespace kolvi {
namespace {

using profile::LineKind;
using profile::ParsedLine;

constexpr std::string_view kLineEnd = "\r\n";

// Decodes a line that the codec refused as a whole one character at a time,
// putting U+FFFD where no character fits, so that the brackets, '=' and the
// names around a stray byte are still seen where they are.
std::string decodeLeniently(const TextCodec& codec, std::string_view bytes) {
    std::string text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (auto one = codec.decode(bytes.substr(i, 1))) {
            text += *one;
            i += 1;
        } else if (auto two = i + 1 < bytes.size() ? codec.decode(bytes.substr(i, 2)) : std::nullopt) {
            text += *two;
            i += 2;
        } else {
            text += "\xEF\xBF\xBD";
            i += 1;
        }
    }
    return text;
}

// A name or value that can stand on one line of the file: code page 932 can
// hold it, and it has no line break or NUL (which would end it early).
bool fitsOnALine(const TextCodec& codec, std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
           codec.encode(text).has_value();
}

}  // namespace

// The file as it is on disk, cut into lines, with each line's meaning. The
// line views point into the snapshot's own bytes, so it stays where it is made.
struct SettingsFile::Snapshot {
    Snapshot(const TextCodec& codec, FileRead file);
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    ReadStatus status;  // anything but ok reads as an empty file
    std::string bytes;
    std::vector<std::string_view> raw;  // with terminators
    std::vector<ParsedLine> parsed;
    std::vector<bool> decoded;  // false where the line is not valid code page 932
};

SettingsFile::Snapshot::Snapshot(const TextCodec& codec, FileRead file)
    : status(file.status),
      bytes(file.status == ReadStatus::ok ? std::move(file.bytes) : std::string()),
      raw(profile::splitLines(bytes)),
      decoded(raw.size(), true) {
    parsed.reserve(raw.size());
    // One conversion for the whole file is the usual case; CR and LF convert
    // to themselves, so the decoded text has the same lines.
    if (const auto text = codec.decode(bytes)) {
        const auto lines = profile::splitLines(*text);
        if (lines.size() == raw.size()) {
            for (const auto line : lines) parsed.push_back(profile::parseLine(line));
            return;
        }
    }
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const std::string_view bytesOfLine = profile::withoutTerminator(raw[i]);
        if (auto text = codec.decode(bytesOfLine)) {
            parsed.push_back(profile::parseLine(*text));
        } else {
            parsed.push_back(profile::parseLine(decodeLeniently(codec, bytesOfLine)));
            decoded[i] = false;
        }
    }
}

SettingsFile::SettingsFile(FileSystem& fs, const TextCodec& codec, std::string path)
    : fs_(fs), codec_(codec), path_(std::move(path)) {}

SettingsFile::~SettingsFile() = default;

SettingsFile::ReadBatch::ReadBatch(const SettingsFile& settings) : settings_(settings) { ++settings_.batches_; }

SettingsFile::ReadBatch::~ReadBatch() {
    if (--settings_.batches_ == 0) settings_.held_.reset();
}

std::shared_ptr<const SettingsFile::Snapshot> SettingsFile::snapshot() const {
    if (held_) return held_;
    auto s = std::make_shared<const Snapshot>(codec_, fs_.readFile(path_));
    if (batches_ > 0) held_ = s;
    return s;
}

// The trimmed, unquoted value of the key, or nothing when the file, section
// or key is missing, the key has no '=', or its line is not valid code page 932.
std::optional<std::string> SettingsFile::lookUp(std::string_view section, std::string_view key) const {
    if (!fitsOnALine(codec_, section) || !fitsOnALine(codec_, key)) return std::nullopt;
    const auto s = snapshot();
    if (s->status != ReadStatus::ok) return std::nullopt;
    const profile::KeyPlace place = profile::findKey(s->parsed, section, key);
    if (!place.keyLine) return std::nullopt;
    const ParsedLine& line = s->parsed[*place.keyLine];
    if (!line.value || !s->decoded[*place.keyLine]) return std::nullopt;
    return std::string(profile::unquote(*line.value));
}

std::string SettingsFile::readString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue, std::size_t maxBytes) const {
    const auto value = lookUp(section, key);
    if (!value) return std::string(defaultValue);
    const auto encoded = codec_.encode(*value);
    if (!encoded) return std::string(defaultValue);
    if (encoded->size() <= maxBytes) return *value;
    // Too long: keep whole characters while their code-page-932 bytes fit.
    std::size_t kept = 0;
    std::size_t bytes = 0;
    while (kept < value->size()) {
        const std::size_t length = utf8::sequenceLength((*value)[kept]);
        const auto character = codec_.encode(std::string_view(*value).substr(kept, length));
        if (!character || bytes + character->size() > maxBytes) break;
        bytes += character->size();
        kept += length;
    }
    return value->substr(0, kept);
}

int SettingsFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto value = lookUp(section, key);
    if (!value || value->empty()) return defaultValue;
    return profile::leadingInteger(*value);
}

bool SettingsFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    section = profile::trimBlanks(section);
    key = profile::trimBlanks(key);
    // Leading blanks of the value are dropped, as the reader would drop them;
    // trailing ones are kept as given.
    while (!value.empty() && profile::isBlank(value.front())) value.remove_prefix(1);
    if (!fitsOnALine(codec_, section) || !fitsOnALine(codec_, key) || !fitsOnALine(codec_, value)) return false;
    // A key that would read back as another key or as a section header.
    if (key.find('=') != std::string_view::npos || (!key.empty() && key.front() == '[')) return false;

    const Snapshot s(codec_, fs_.readFile(path_));
    if (s.status == ReadStatus::unreadable) return false;
    // Lines that are not valid code page 932 are found by their CR and LF
    // (never part of a character) and copied byte for byte like every line
    // this write does not touch.
    const profile::KeyPlace place = profile::findKey(s.parsed, section, key);
    // An existing key keeps the spelling it has in the file.
    const std::string name = place.keyLine ? s.parsed[*place.keyLine].name : std::string(key);
    const auto keyLine = codec_.encode(name + "=" + std::string(value));
    const auto header = codec_.encode("[" + std::string(section) + "]");
    if (!keyLine || !header) return false;

    std::string out;
    out.reserve(s.bytes.size() + header->size() + keyLine->size() + 3 * kLineEnd.size());
    const auto copyLines = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) out += s.raw[i];
    };
    const auto endLastLine = [&] {
        if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += kLineEnd;
    };
    if (place.keyLine) {
        copyLines(0, *place.keyLine);
        out += *keyLine;
        out += kLineEnd;
        copyLines(*place.keyLine + 1, s.raw.size());
    } else if (place.sectionFound) {
        copyLines(0, place.insertAt);
        endLastLine();
        out += *keyLine;
        out += kLineEnd;
        copyLines(place.insertAt, s.raw.size());
    } else {
        copyLines(0, s.raw.size());
        endLastLine();
        out += *header;
        out += kLineEnd;
        out += *keyLine;
        out += kLineEnd;
    }
    // Saving settings that did not change need not touch the disk.
    if (s.status == ReadStatus::ok && out == s.bytes) return true;
    held_.reset();  // a batch reads the file again, as this write left it
    return fs_.replaceFile(path_, out);
}

bool SettingsFile::writeInt(std::string_view section, std::string_view key, long long value) {
    return writeString(section, key, std::to_string(value));
}

}  // namespace kolvi
