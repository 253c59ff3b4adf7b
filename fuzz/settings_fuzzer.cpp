// Arbitrary bytes as the settings file. Reading never fails and gives text
// that can be written again; every write changes exactly the one key it
// names: the key reads back as written, every other key reads as before, and
// the lines around it keep their bytes, even those that are not valid code
// page 932. Checked over every input, the corpus replay included.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_text.h"
#include "settings/settings_file.h"
#include "support/memory_file_system.h"

namespace kolvi::fuzzcheck {
namespace detail {

// after is before with one line replaced, or one key line (and perhaps a
// header) inserted, each written line ending in CR LF; the old last line may
// gain the line end it lacked.
bool onlyOneLineChanged(const std::string& before, std::string_view after) {
    const bool unended = !before.empty() && before.back() != '\n' && before.back() != '\r';
    const auto b = profile::splitLines(after);
    for (const std::string& old : {before, unended ? before + "\r\n" : before}) {
        const auto a = profile::splitLines(old);
        const auto [aFirst, bFirst] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
        const auto [aLast, bLast] = std::mismatch(a.rbegin(), std::make_reverse_iterator(aFirst), b.rbegin(),
                                                  std::make_reverse_iterator(bFirst));
        const auto removed = aLast.base() - aFirst, added = bLast.base() - bFirst;
        const auto ended = [](std::string_view line) { return line.ends_with("\r\n"); };
        if ((removed == 0 ? added <= 2 : removed == 1 && added == 1) && std::all_of(bFirst, bLast.base(), ended)) {
            return true;
        }
    }
    return false;
}

}  // namespace detail

// "" when every property holds for the file, otherwise what went wrong. The
// writes: to an existing key, a new key in an existing section, a new section
// and the unnamed section, each to the file as given.
std::string checkSettingsFile(std::string_view bytes) {
    using Name = std::pair<std::string, std::string>;  // section, key
    constexpr const char* kAbsent = "\x01<absent>";
    test::ProgramFiles files;
    auto& [fs, codec, settings] = files;
    fs.put(settings.path(), std::string(bytes));
    // The first ten keys named in the file, as far as its lines decode, and what they read as.
    std::vector<Name> names;
    std::vector<std::string> before;
    std::string section;
    for (const std::string_view line : profile::splitLines(bytes)) {
        const auto parsed = profile::parseLine(codec.decode(profile::withoutTerminator(line)).value_or(""));
        if (parsed.kind == profile::LineKind::section) section = parsed.name;
        if (parsed.kind != profile::LineKind::key || names.size() == 10) continue;
        names.emplace_back(section, parsed.name);
        before.push_back(settings.readString(section, parsed.name, kAbsent));
        if (!codec.encode(before.back())) return "a value read cannot be written again";
    }
    const Name first = names.empty() ? Name{"s", "k"} : names.front();
    const std::pair<Name, std::string> writes[] = {{{"Fuzz", "Added"}, "\"quoted\""}, {{"", "top"}, " 表示ソ "},
        {first, "new value"}, {{first.first, "zz-new"}, "-7"}, {names.empty() ? first : names.back(), ""}};
    for (const auto& [name, value] : writes) {
        fs.put(settings.path(), std::string(bytes));
        if (!settings.writeString(name.first, name.second, value)) {
            // The one name that cannot be written: a key that would read as a header.
            if (profile::trimBlanks(name.second).starts_with('[') && fs.content(settings.path()) == bytes) continue;
            return "a write failed";
        }
        const std::string written(profile::unquote(profile::trimBlanks(value)));
        if (settings.readString(name.first, name.second, kAbsent) != written) return "the key does not read back";
        // Every other key reads as before (one of the same name as the key written reads as written).
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string now = settings.readString(names[i].first, names[i].second, kAbsent);
            if (now != before[i] && now != written) return "it changed [" + names[i].first + "] " + names[i].second;
        }
        if (!detail::onlyOneLineChanged(std::string(bytes), fs.content(settings.path()))) return "other lines changed";
    }
    return {};
}

}  // namespace kolvi::fuzzcheck

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        kolvi::fuzzcheck::checkSettingsFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "settings check failed: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
