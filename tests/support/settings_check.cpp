// Arbitrary bytes as the settings file. Reading must never fail, and every
// write must change exactly the one key it names: the key reads back as
// written, every other key reads as before, and the lines around it keep
// their bytes, even those that are not valid code page 932.
// The fuzzer and the unit tests (replaying the corpus and the regression
// inputs) share this check.
#include "support/settings_check.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "settings/profile_text.h"
#include "settings/settings_file.h"
#include "support/memory_file_system.h"

namespace kolvi::fuzzcheck {
namespace {

constexpr const char* kPath = "C:\\prog\\kolvialarm.ini";
constexpr std::string_view kAbsent = "\x01<absent>";

using Name = std::pair<std::string, std::string>;  // section, key

// The first ten keys named in the file, as far as its lines decode.
std::vector<Name> namesIn(std::string_view bytes, const TextCodec& codec) {
    std::vector<Name> names;
    std::string section;
    for (const std::string_view line : profile::splitLines(bytes)) {
        const auto text = codec.decode(profile::withoutTerminator(line));
        const profile::ParsedLine parsed = profile::parseLine(text.value_or(""));
        if (parsed.kind == profile::LineKind::section) section = parsed.name;
        if (parsed.kind == profile::LineKind::key && names.size() < 10) names.emplace_back(section, parsed.name);
    }
    return names;
}

// after is before with one line replaced, or one key line (and perhaps a
// header) inserted, each written line ending in CR LF; the old last line may
// gain the line end it lacked.
bool onlyOneLineChanged(const std::string& before, std::string_view after) {
    const bool unended = !before.empty() && before.back() != '\n' && before.back() != '\r';
    const auto b = profile::splitLines(after);
    for (const std::string& old : {before, unended ? before + "\r\n" : before}) {
        const auto a = profile::splitLines(old);
        std::size_t prefix = 0, suffix = 0;
        while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
        while (suffix < std::min(a.size(), b.size()) - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
            ++suffix;
        }
        const std::size_t removed = a.size() - prefix - suffix, added = b.size() - prefix - suffix;
        const auto first = b.begin() + static_cast<std::ptrdiff_t>(prefix);
        const auto ended = [](std::string_view line) { return line.ends_with("\r\n"); };
        if (((removed == 0 && added <= 2) || (removed == 1 && added == 1)) &&
            std::all_of(first, first + static_cast<std::ptrdiff_t>(added), ended)) {
            return true;
        }
    }
    return false;
}

std::string checkWrite(const std::string& bytes, const std::vector<Name>& names, const Name& name,
                       std::string_view value) {
    test::MemoryFileSystem fs;
    IconvCodec codec;
    fs.put(kPath, bytes);
    SettingsFile settings(fs, codec, kPath);
    std::vector<std::string> before;
    for (const auto& [section, key] : names) before.push_back(settings.readString(section, key, kAbsent));
    if (!settings.writeString(name.first, name.second, value)) {
        // The one name that cannot be written: a key that would read as a header.
        if (profile::trimBlanks(name.second).starts_with('[') && fs.content(kPath) == bytes) return {};
        return "a write to a valid file failed";
    }
    if (settings.readString(name.first, name.second, kAbsent) != profile::unquote(profile::trimBlanks(value))) {
        return "the written key does not read back";
    }
    const auto same = [](std::string_view a, std::string_view b) {
        return profile::namesMatch(profile::trimBlanks(a), profile::trimBlanks(b));
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto& [section, key] = names[i];
        const bool written = same(section, name.first) && same(key, name.second);
        if (!written && settings.readString(section, key, kAbsent) != before[i]) {
            return "writing [" + name.first + "] " + name.second + " changed [" + section + "] " + key;
        }
    }
    return onlyOneLineChanged(bytes, fs.content(kPath)) ? "" : "the write changed more than one line";
}

// Writes to an existing key, a new key in an existing section, a new section
// and the unnamed section.
std::string checkValidFile(const std::string& bytes) {
    const std::vector<Name> names = namesIn(bytes, IconvCodec());
    std::vector<std::pair<Name, std::string>> writes = {{{"Fuzz", "Added"}, "\"quoted\""}, {{"", "top"}, " 表示ソ "}};
    if (!names.empty()) {
        writes.push_back({names.front(), "new value"});
        writes.push_back({{names.front().first, "zz-new"}, "-7"});
        writes.push_back({names.back(), ""});
    }
    for (const auto& [name, value] : writes) {
        if (std::string problem = checkWrite(bytes, names, name, value); !problem.empty()) return problem;
    }
    return {};
}

}  // namespace

std::string checkSettingsFile(std::string_view bytes) {
    IconvCodec codec;
    if (codec.decode(bytes)) return checkValidFile(std::string(bytes));

    // Not code page 932: it reads without harm, and writes keep the lines
    // that do not decode byte for byte, like every line they do not touch.
    test::MemoryFileSystem fs;
    fs.put(kPath, std::string(bytes));
    const SettingsFile settings(fs, codec, kPath);
    for (const auto& [section, key] : namesIn(bytes, codec)) {
        if (!codec.encode(settings.readString(section, key, ""))) return "a value read cannot be encoded again";
    }
    return checkValidFile(std::string(bytes));
}

}  // namespace kolvi::fuzzcheck
