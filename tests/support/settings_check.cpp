// Arbitrary bytes as the settings file. Reading must never fail, and every
// write must change exactly the one key it names: the key reads back as
// written, every other key reads as before, and the lines around it keep
// their bytes. A file that is not valid code page 932 is never written.
// The fuzzer and the unit tests (replaying the corpus and the regression
// inputs) share this check.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "settings/profile_text.h"
#include "settings/settings_file.h"
#include "support/memory_file_system.h"
#include "support/settings_check.h"

namespace kolvi::fuzzcheck {
namespace {

constexpr const char* kPath = "C:\\prog\\kolvialarm.ini";
constexpr std::string_view kAbsent = "\x01<absent>";
constexpr std::size_t kMaxNames = 10;

struct Name {
    std::string section;
    std::string key;
};

// The (section, key) pairs named in the file, as far as its lines decode.
std::vector<Name> namesIn(std::string_view bytes, const TextCodec& codec) {
    std::vector<Name> names;
    std::string section;
    for (const std::string_view line : profile::splitLines(bytes)) {
        const auto text = codec.decode(profile::withoutTerminator(line));
        if (!text) continue;
        const profile::ParsedLine parsed = profile::parseLine(*text);
        if (parsed.kind == profile::LineKind::section) section = parsed.name;
        if (parsed.kind == profile::LineKind::key && names.size() < kMaxNames) names.push_back({section, parsed.name});
    }
    return names;
}

bool sameQuery(const Name& a, std::string_view section, std::string_view key) {
    return profile::namesMatch(profile::trimBlanks(a.section), profile::trimBlanks(section)) &&
           profile::namesMatch(profile::trimBlanks(a.key), profile::trimBlanks(key));
}

// After a successful write the new file must be the old one with one line
// replaced, or one key line (plus perhaps a header) inserted; the line before
// an insertion may only gain a line end it lacked.
std::string checkOnlyOneLineChanged(std::string_view before, std::string_view after) {
    if (before == after) return {};  // the key already had the value
    const auto oldLines = profile::splitLines(before);
    const auto newLines = profile::splitLines(after);
    std::size_t prefix = 0;
    while (prefix < oldLines.size() && prefix < newLines.size() && oldLines[prefix] == newLines[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < oldLines.size() - prefix && suffix < newLines.size() - prefix &&
           oldLines[oldLines.size() - 1 - suffix] == newLines[newLines.size() - 1 - suffix]) {
        ++suffix;
    }
    if (prefix < oldLines.size() && prefix < newLines.size() &&
        profile::withoutTerminator(oldLines[prefix]) == oldLines[prefix] &&
        newLines[prefix] == std::string(oldLines[prefix]) + "\r\n") {
        ++prefix;  // the old last line, now ended
        if (suffix > oldLines.size() - prefix) suffix = oldLines.size() - prefix;
    }
    const std::size_t removed = oldLines.size() - prefix - suffix;
    const std::size_t added = newLines.size() - prefix - suffix;
    if (removed == 0 && added == 0) return {};  // the key was the last line and only gained its line end
    if (removed > 1 || added < 1 || added > 2 || (removed == 1 && added != 1)) {
        return "the write changed more than one line (" + std::to_string(removed) + " removed, " +
               std::to_string(added) + " added)";
    }
    for (std::size_t i = prefix; i < prefix + added; ++i) {
        if (newLines[i].size() < 2 || newLines[i].substr(newLines[i].size() - 2) != "\r\n") {
            return "a written line does not end with CR LF";
        }
    }
    return {};
}

std::string checkTruncation(const SettingsFile& settings, const TextCodec& codec, const Name& name) {
    const std::string full = settings.readString(name.section, name.key, kAbsent, 1u << 20);
    if (full == kAbsent) return {};
    const auto fullBytes = codec.encode(full);
    if (!fullBytes) return "a value read cannot be encoded again";
    for (const std::size_t limit : {0u, 1u, 3u}) {
        const std::string cut = settings.readString(name.section, name.key, kAbsent, limit);
        const auto cutBytes = codec.encode(cut);
        if (!cutBytes || cutBytes->size() > limit) return "a cut value is longer than its limit";
        if (full.compare(0, cut.size(), cut) != 0) return "a cut value is not a prefix of the whole value";
        // At most one double-byte character short of the limit.
        if (cutBytes->size() + 1 < std::min(limit, fullBytes->size())) return "a cut value is shorter than needed";
    }
    return {};
}

std::string checkWrite(std::string_view bytes, const std::vector<Name>& names, std::string_view section,
                       std::string_view key, std::string_view value) {
    test::MemoryFileSystem fs;
    IconvCodec codec;
    fs.put(kPath, std::string(bytes));
    SettingsFile settings(fs, codec, kPath);
    std::vector<std::string> before;
    for (const Name& n : names) before.push_back(settings.readString(n.section, n.key, kAbsent));

    const bool written = settings.writeString(section, key, value);
    const std::string after = fs.content(kPath);
    if (!written) {
        // The one name that cannot be written: a key that would read as a header.
        const std::string_view trimmedKey = profile::trimBlanks(key);
        if (!trimmedKey.empty() && trimmedKey.front() == '[' && after == bytes) return {};
        return "a write to a valid file failed";
    }

    const std::string expected(profile::unquote(profile::trimBlanks(value)));
    if (settings.readString(section, key, kAbsent) != expected) return "the written key does not read back";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameQuery(names[i], section, key)) continue;
        if (settings.readString(names[i].section, names[i].key, kAbsent) != before[i]) {
            return "writing [" + std::string(section) + "] " + std::string(key) + " changed [" + names[i].section +
                   "] " + names[i].key;
        }
    }
    if (std::string problem = checkOnlyOneLineChanged(bytes, after); !problem.empty()) return problem;

    // The same write again changes nothing, not even by touching the disk.
    const int writes = fs.writeCount();
    if (!settings.writeString(section, key, value) || fs.content(kPath) != after || fs.writeCount() != writes) {
        return "repeating a write changed the file";
    }
    return {};
}


std::string checkReads(std::string_view bytes, const std::vector<Name>& names, const TextCodec& codec) {
    test::MemoryFileSystem fs;
    fs.put(kPath, std::string(bytes));
    const SettingsFile settings(fs, codec, kPath);
    for (const Name& n : names) {
        if (std::string problem = checkTruncation(settings, codec, n); !problem.empty()) return problem;
        // Integers come from the same value: a missing or empty one is the default.
        const std::string text = settings.readString(n.section, n.key, "");
        const int a = settings.readInt(n.section, n.key, 12345);
        const int b = settings.readInt(n.section, n.key, -54321);
        if (text.empty() != (a == 12345 && b == -54321)) return "readInt disagrees with readString";
    }
    return {};
}

std::string checkValidFile(std::string_view bytes) {
    IconvCodec codec;
    const std::vector<Name> names = namesIn(bytes, codec);
    if (std::string problem = checkReads(bytes, names, codec); !problem.empty()) return problem;
    // An existing key, a new key in an existing section, a new section, and
    // the unnamed section before the first header.
    std::vector<std::pair<Name, std::string>> writes = {
        {{"Fuzz", "Added"}, "\"quoted\""},
        {{"", "top"}, " 表示ソ "},
    };
    if (!names.empty()) {
        const Name& first = names.front();
        writes.push_back({first, "new value"});
        writes.push_back({{first.section, "zz-new"}, "-7"});
        writes.push_back({names.back(), ""});
    }
    for (const auto& [name, value] : writes) {
        std::string problem = checkWrite(bytes, names, name.section, name.key, value);
        if (!problem.empty()) return problem;
    }
    return {};
}

// The file with the high bytes of its undecodable lines dropped: a valid file
// close to the input, so that random inputs exercise writing too.
std::string validPart(std::string_view bytes, const TextCodec& codec) {
    std::string valid;
    for (const std::string_view line : profile::splitLines(bytes)) {
        if (codec.decode(line)) {
            valid += line;
            continue;
        }
        for (const char c : line) {
            if (static_cast<unsigned char>(c) < 0x80) valid += c;
        }
    }
    return valid;
}

}  // namespace

// "" when every property holds for the file, otherwise what went wrong.
std::string checkSettingsFile(std::string_view bytes) {
    IconvCodec codec;
    if (codec.decode(bytes)) return checkValidFile(bytes);

    // Not code page 932: it reads without harm and is never written.
    test::MemoryFileSystem fs;
    fs.put(kPath, std::string(bytes));
    SettingsFile settings(fs, codec, kPath);
    for (const Name& n : namesIn(bytes, codec)) {
        if (!codec.encode(settings.readString(n.section, n.key, ""))) return "a value read cannot be encoded again";
    }
    if (settings.writeString("list", "lastopen", "a.alm") || fs.writeCount() != 0 || fs.content(kPath) != bytes) {
        return "a file that is not code page 932 was written";
    }
    return checkValidFile(validPart(bytes, codec));
}

}  // namespace kolvi::fuzzcheck
