#include "store/paths.h"

#include <gtest/gtest.h>

namespace kolvi {
namespace {

struct PathCase {
    std::string_view path;
    std::string_view name;
    std::string_view directory;
    bool absolute;
};

TEST(PathParts, SplitAtTheLastBackslash) {
    const PathCase cases[] = {
        {"C:\\prog\\list.alm", "list.alm", "C:\\prog", true},
        {"list.alm", "list.alm", "", false},
        {"sub\\list.alm", "list.alm", "sub", false},
        {"\\list.alm", "list.alm", "", false},  // one leading backslash: relative
        {"\\\\server\\share\\list.alm", "list.alm", "\\\\server\\share", true},
        {"C:list.alm", "C:list.alm", "", true},  // drive-relative: no directory part
        {"C:\\list.alm", "list.alm", "C:", true},
        {"C:\\prog\\", "", "C:\\prog", true},
        // Decoded text: 表 and ソ carry no backslash byte in UTF-8.
        {"C:\\表\\ソ.alm", "ソ.alm", "C:\\表", true},
        {"", "", "", false},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(fileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(directoryPart(c.path), c.directory) << c.path;
        EXPECT_EQ(isAbsolutePath(c.path), c.absolute) << c.path;
    }
}

TEST(ResolveInProgramDirectory, JoinsOnlyRelativeNames) {
    const std::string_view dir = "C:\\prog";
    EXPECT_EQ(resolveInProgramDirectory("list.alm", dir), "C:\\prog\\list.alm");
    EXPECT_EQ(resolveInProgramDirectory("sub\\list.alm", dir), "C:\\prog\\sub\\list.alm");
    EXPECT_EQ(resolveInProgramDirectory("\\list.alm", dir), "C:\\prog\\list.alm");
    EXPECT_EQ(resolveInProgramDirectory("D:\\x\\list.alm", dir), "D:\\x\\list.alm");
    EXPECT_EQ(resolveInProgramDirectory("\\\\server\\share\\list.alm", dir), "\\\\server\\share\\list.alm");
    EXPECT_EQ(resolveInProgramDirectory("C:list.alm", dir), "C:list.alm");
    EXPECT_EQ(resolveInProgramDirectory("", dir), "");
}

TEST(FileTag, IsTheBareNameOnlyDirectlyInTheProgramDirectory) {
    const std::string_view dir = "C:\\prog";
    EXPECT_EQ(fileTagFor("C:\\prog\\list.alm", dir), "list.alm");
    EXPECT_EQ(fileTagFor("c:\\PROG\\list.alm", dir), "c:\\PROG\\list.alm");  // case counts
    EXPECT_EQ(fileTagFor("D:\\x\\list.alm", dir), "D:\\x\\list.alm");
    EXPECT_EQ(fileTagFor("C:\\prog\\sub\\list.alm", dir), "C:\\prog\\sub\\list.alm");
    EXPECT_EQ(fileTagFor("C:\\program\\list.alm", dir), "C:\\program\\list.alm");
    EXPECT_EQ(fileTagFor("C:list.alm", "C:"), "C:list.alm");
    EXPECT_EQ(fileTagFor("C:\\list.alm", "C:"), "list.alm");  // program in a drive's root
    EXPECT_EQ(fileTagFor("\\\\srv\\s\\list.alm", "\\\\srv\\s"), "list.alm");

    // The tag resolves back to the file it was made from.
    for (std::string_view path : {"C:\\prog\\list.alm", "c:\\PROG\\list.alm", "C:list.alm", "D:\\x\\y.alm"}) {
        EXPECT_EQ(resolveInProgramDirectory(fileTagFor(path, dir), dir), path);
    }
}

}  // namespace
}  // namespace kolvi
