#include "store/paths.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvi {
namespace {

TEST(Paths, SplitAtTheLastBackslashAndResolveRelativeNamesInTheProgramDirectory) {
    const struct {
        std::string_view path, name, directory;
        bool absolute;
        std::string_view resolved;  // in C:\prog
    } cases[] = {
        {"C:\\prog\\list.alm", "list.alm", "C:\\prog", true, "C:\\prog\\list.alm"},
        {"list.alm", "list.alm", "", false, "C:\\prog\\list.alm"},
        {"sub\\list.alm", "list.alm", "sub", false, "C:\\prog\\sub\\list.alm"},
        {"\\list.alm", "list.alm", "", false, "C:\\prog\\list.alm"},  // one leading backslash: relative
        {"\\\\srv\\share\\list.alm", "list.alm", "\\\\srv\\share", true, "\\\\srv\\share\\list.alm"},
        {"C:list.alm", "C:list.alm", "", true, "C:list.alm"},  // drive-relative: no directory part
        {"C:\\prog\\", "", "C:\\prog", true, "C:\\prog\\"},
        // Decoded text: 表 and ソ carry no backslash byte in UTF-8.
        {"D:\\表\\ソ.alm", "ソ.alm", "D:\\表", true, "D:\\表\\ソ.alm"},
        {"", "", "", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(directoryPart(c.path), c.directory) << c.path;
        EXPECT_EQ(isAbsolutePath(c.path), c.absolute) << c.path;
        EXPECT_EQ(resolveInProgramDirectory(c.path, "C:\\prog"), c.resolved) << c.path;
    }
}

// The tag is the bare name only directly in the program directory (case
// counts), and resolves back to the file it was made from.
TEST(Paths, FileTag) {
    const std::tuple<std::string_view, std::string_view, std::string_view> cases[] = {
        {"C:\\prog\\list.alm", "C:\\prog", "list.alm"},
        {"c:\\PROG\\list.alm", "C:\\prog", "c:\\PROG\\list.alm"},
        {"C:\\prog\\sub\\list.alm", "C:\\prog", "C:\\prog\\sub\\list.alm"},
        {"C:\\program\\list.alm", "C:\\prog", "C:\\program\\list.alm"},
        {"C:\\prog\\", "C:\\prog", "C:\\prog\\"},  // no name: the whole path
        {"C:list.alm", "C:", "C:list.alm"},
        {"C:\\list.alm", "C:", "list.alm"},  // the program in a drive's root
        {"\\\\srv\\s\\list.alm", "\\\\srv\\s", "list.alm"},
    };
    for (const auto& [path, directory, tag] : cases) {
        EXPECT_EQ(fileTagFor(path, directory), tag) << path;
        EXPECT_EQ(resolveInProgramDirectory(tag, directory), path) << path;
    }
}

}  // namespace
}  // namespace kolvi
