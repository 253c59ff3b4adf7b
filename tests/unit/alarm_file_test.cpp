#include "store/alarm_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/posix/iconv_codec.h"
#include "store/paths.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using Texts = std::vector<std::string>;

constexpr const char* kList = "C:\\prog\\list.alm";
// Two alarms as code page 932 bytes (ASCII only, so the same as UTF-8).
const std::string kLineA = "1,a,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0", kLineB = "0,b,1,1,1,1,1,1,1,18,00,00,lock,0";
const std::string kFileA = "1.1\r\n" + kLineA + "\r\n";

// A message box's text: the message, a line break, the full path.
std::string box(std::string_view message, const std::string& path) { return std::string(message) + "\r\n" + path; }

// That whatever opens saves and reads back the same, and that a refused file
// says so once, is checked over the alarm file fuzzer's corpus.
class AlarmFileTest : public ::testing::Test {
protected:
    Texts tags() const {
        Texts result;
        for (std::size_t i = 0; i < list.rowCount(); ++i) result.push_back(list.row(i).tag);
        return result;
    }
    // Opens bytes written to C:\prog\list.alm; returns the messages shown.
    Texts openBytes(std::string bytes) {
        fs.put(kList, std::move(bytes));
        messages.errors.clear();
        openAlarmFile(list, context, kList);
        return messages.errors;
    }

    test::MemoryFileSystem fs;
    IconvCodec codec;
    test::RecordingMessageBoxes messages;
    SettingsFile settings{fs, codec, "C:\\prog\\kolvialarm.ini"};
    AlarmFileContext context{fs, codec, messages, settings, "C:\\prog"};
    AlarmList list;
};

// A file opens whole (its rows, in file order) or not at all (one message, no
// rows, no file open). The version is a decimal number: 1.10 is 1.1, 1.09 is
// older, whatever a double would make of them. Lines end at CR LF or a lone
// CR; a lone LF belongs to its line.
TEST_F(AlarmFileTest, OpensWholeOrNotAtAll) {
    const std::string a = kLineA, b = kLineB, lf = "1,x\ny,0,0,0,0,0,0,0,00,00,00,,0";
    const std::string_view old = kMsgOldVersion, bad = kMsgBadFormat, opens;
    const std::tuple<std::string, Texts, std::string_view> cases[] = {
        // bytes, rows, refusal
        {"1.10\r\n" + a, {a}, opens}, {" 01.1 \r\n" + a, {a}, opens}, {"10\r\n" + a, {a}, opens},
        {"1.100000000000000000001\r\n" + a, {a}, opens}, {"1.09\r\n" + a, {}, old}, {"-1.1\r\n" + a, {}, old},
        {"1.0999999999999999999\r\n" + a, {}, old},      {"v1.1\r\n" + a, {}, bad},
        {"1.1\r\n" + a + "\r\n" + b, {a, b}, opens},     {"1.1\r" + a + "\r\r\n" + b + "\r", {a, b}, opens},
        {"1.1", {}, opens}, {"1.1\r\n\r\n" + a + "\r\n   \r\n\t\r\n" + b + "\r\n\r\n", {a, b}, opens},
        {"1.1\r\n" + lf + "\r\n", {lf}, opens},          {"1.1\n" + a + "\n" + b + "\n", {}, bad},
        {"1.1\r\n\n", {}, bad}, {"", {}, bad},         {"1.1\r\n" + a + std::string(1, '\0') + "\r\n", {}, bad},
        {"1.1\r\n1,\x81\x20,0,0,0,0,0,0,0,00,00,00,,0\r\n", {}, bad},  // not code page 932
        {"1.1\r\n" + a + "\r\n1,short,0\r\n", {}, bad},
    };
    for (const auto& [bytes, rows, refusal] : cases) {
        EXPECT_EQ(openBytes(bytes), refusal.empty() ? Texts{} : Texts{box(refusal, kList)}) << bytes;
        EXPECT_EQ(tags(), rows) << bytes;
        EXPECT_EQ(list.isFileOpen(), refusal.empty()) << bytes;
    }
}

// Relative names are in the program directory, never the current one; the
// tag is the bare name only there. A file that cannot be opened closes the
// one that was open. An empty name opens the remembered file.
TEST_F(AlarmFileTest, OnlyOrdinaryReadableFilesOpen) {
    for (const char* path : {"C:\\prog\\hidden.alm", "C:\\prog\\locked.alm", "D:\\x\\list.alm"}) fs.put(path, kFileA);
    fs.markHidden("C:\\prog\\hidden.alm");
    fs.markUnreadable("C:\\prog\\locked.alm");
    fs.put(settings.path(), "[list]\r\nlastopen=  D:\\x\\list.alm  \r\n");
    const std::tuple<std::string, std::string, std::string> cases[] = {
        // path, tag, message
        {"list.alm", "list.alm", ""}, {"D:\\x\\list.alm", "D:\\x\\list.alm", ""}, {"", "D:\\x\\list.alm", ""},
        {"C:\\prog\\none.alm", "", box(kMsgFileNotFound, "C:\\prog\\none.alm")},
        {"hidden.alm", "", box(kMsgFileNotFound, "C:\\prog\\hidden.alm")},
        {"C:\\prog\\locked.alm", "", box(kMsgCannotOpen, "C:\\prog\\locked.alm")},
    };
    for (const auto& [path, tag, message] : cases) {
        ASSERT_TRUE(openBytes(kFileA).empty());
        EXPECT_EQ(openAlarmFile(list, context, path).empty(), tag.empty()) << path;
        EXPECT_EQ(std::tuple(list.tag(), tags(), messages.errors),
                  std::tuple(tag, tag.empty() ? Texts{} : Texts{kLineA}, message.empty() ? Texts{} : Texts{message}))
            << path;
    }
    fs.put(settings.path(), "[list]\r\nlastopen=\r\n");  // nothing remembered: nothing opens, nothing said
    EXPECT_EQ(openBytes(kFileA), Texts{});
    EXPECT_EQ(openAlarmFile(list, context, "") + list.tag(), "");
    EXPECT_EQ(messages.errors, Texts{});
}

TEST_F(AlarmFileTest, Cp932TrailBytesSurviveOpenAndSave) {
    // 表 = 95 5C, ソ = 83 5C, 能 = 94 5C, × = 81 7E, ｱ = B1 (one byte).
    const std::string bytes =
        "1.1\r\n1,\x95\x5C\x83\x5C,0,0,0,0,0,0,0,07,00,00,C:\\\x94\x5C\\\x83\x5C.wav,0\r\n"
        "0,\x81\x7E\xB1,1,1,1,1,1,1,1,08,00,00,,1\r\n";
    ASSERT_TRUE(openBytes(bytes).empty());
    EXPECT_EQ(tags(), (Texts{"1,表ソ,0,0,0,0,0,0,0,07,00,00,C:\\能\\ソ.wav,0", "0,×ｱ,1,1,1,1,1,1,1,08,00,00,,1"}));
    ASSERT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.content(kList), bytes);
}

// Saving writes the version and the rows in display order; Save As writes
// them to the new path and leaves the list's tag (the caller opens the new
// file once it is written); with no file open a save writes nothing.
TEST_F(AlarmFileTest, SaveWritesTheRowsInDisplayOrder) {
    list.addAlarmLine(kLineA);
    EXPECT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.writeCount(), 0);
    ASSERT_TRUE(openBytes(kFileA + kLineB + "\r\n").empty());
    list.applySort(1, 1);  // by name, descending: b before a
    list.addAlarmLine("1, c ,0,0,0,0,0,0,0,7,5,0,,1");
    const std::string saved = "1.1\r\n1,c,0,0,0,0,0,0,0,07,05,00,,1\r\n" + kLineB + "\r\n" + kLineA + "\r\n";
    ASSERT_TRUE(saveAlarmFile(list, context) && saveAlarmFileAs(list, context, "copy.alm"));
    EXPECT_EQ(fs.content(kList) + fs.content("C:\\prog\\copy.alm"), saved + saved);
    EXPECT_EQ(list.tag(), "list.alm");
    list.clearRows();
    ASSERT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.content(kList), "1.1\r\n");
}

// A failed save or Save As says so and leaves the old file, the rows and the
// tag; so does a row the file could not hold or could not be opened again
// with: a character code page 932 lacks, a CR, a NUL. A failed New keeps the
// open file.
TEST_F(AlarmFileTest, FailedWritesKeepTheOldFileTheRowsAndTheTag) {
    ASSERT_TRUE(openBytes(kFileA).empty());
    list.addAlarmLine(kLineB);
    fs.failWrites(3);
    EXPECT_FALSE(saveAlarmFile(list, context) || saveAlarmFileAs(list, context, "D:\\y\\copy.alm"));
    EXPECT_EQ(createAndOpenAlarmFile(list, context, "new.alm"), std::nullopt);
    EXPECT_EQ(messages.errors, (Texts{box(kMsgCannotSave, kList), box(kMsgCannotSave, "D:\\y\\copy.alm"),
                                      box(kMsgCannotSave, "C:\\prog\\new.alm")}));
    EXPECT_EQ(fs.content("D:\\y\\copy.alm") + fs.content("C:\\prog\\new.alm"), "");
    EXPECT_EQ(std::pair(list.tag(), tags()), std::pair(std::string("list.alm"), Texts{kLineA, kLineB}));
    for (const std::string& name : {std::string("smile 😀"), std::string("a\rb"), std::string("a\0b", 3)}) {
        list.addAlarmLine("1," + name + ",0,0,0,0,0,0,0,00,00,00,,0");
        messages.errors.clear();
        EXPECT_FALSE(saveAlarmFile(list, context));
        EXPECT_EQ(messages.errors, Texts{box(kMsgCannotSave, kList)});
        list.deleteCurrentRow();
    }
    EXPECT_EQ(fs.content(kList), kFileA);
}

// New writes the version line alone, over an older file, and opens it.
TEST_F(AlarmFileTest, NewCreatesAndOpens) {
    fs.put("D:\\x\\old.alm", kFileA);
    EXPECT_EQ(createAndOpenAlarmFile(list, context, "D:\\x\\old.alm"), "D:\\x\\old.alm");
    EXPECT_EQ(std::pair(fs.content("D:\\x\\old.alm"), list.tag()), std::pair(std::string("1.1\r\n"), std::string("D:\\x\\old.alm")));
}

// Path rules on decoded text: 表 and ソ carry no backslash byte in UTF-8.
TEST(Paths, SplitAtTheLastBackslashAndResolveRelativeNamesInTheProgramDirectory) {
    const std::tuple<std::string_view, std::string_view, std::string_view, std::string_view> cases[] = {
        // path, name, directory, resolved in C:\prog
        {"sub\\list.alm", "list.alm", "sub", "C:\\prog\\sub\\list.alm"},
        {"\\list.alm", "list.alm", "", "C:\\prog\\list.alm"},  // one leading backslash: relative
        {"\\\\srv\\share\\list.alm", "list.alm", "\\\\srv\\share", "\\\\srv\\share\\list.alm"},
        {"C:list.alm", "C:list.alm", "", "C:list.alm"},  // drive-relative: no directory part
        {"C:\\prog\\", "", "C:\\prog", "C:\\prog\\"},   {"D:\\表\\ソ.alm", "ソ.alm", "D:\\表", "D:\\表\\ソ.alm"},
        {"", "", "", ""},
    };
    for (const auto& [path, name, directory, resolved] : cases) {
        EXPECT_EQ(std::tuple(fileNamePart(path), directoryPart(path), resolveInProgramDirectory(path, "C:\\prog")),
                  std::tuple(name, directory, resolved)) << path;
    }
    // The tag is the bare name only directly in the program directory (case
    // counts), and resolves back to the file it was made from.
    const std::tuple<std::string_view, std::string_view, std::string_view> tags[] = {
        {"C:\\prog\\list.alm", "C:\\prog", "list.alm"},       {"c:\\PROG\\list.alm", "C:\\prog", "c:\\PROG\\list.alm"},
        {"C:\\prog\\sub\\a.alm", "C:\\prog", "C:\\prog\\sub\\a.alm"}, {"C:\\program\\a.alm", "C:\\prog", "C:\\program\\a.alm"},
        {"C:\\prog\\", "C:\\prog", "C:\\prog\\"},  {"C:list.alm", "C:", "C:list.alm"},  // no name: the whole path
        {"C:\\list.alm", "C:", "list.alm"},        {"\\\\srv\\s\\list.alm", "\\\\srv\\s", "list.alm"},
    };
    for (const auto& [path, directory, tag] : tags) {
        EXPECT_EQ(fileTagFor(path, directory), tag) << path;
        EXPECT_EQ(resolveInProgramDirectory(tag, directory), path) << path;
    }
}

}  // namespace
}  // namespace kolvi
