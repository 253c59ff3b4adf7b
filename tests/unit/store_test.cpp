// The alarm store: the record and its line, path rules, the list model and
// the alarm file.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "store/alarm_file.h"
#include "store/paths.h"
#include "support/alarm_lines.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using test::column, test::Texts;

// Checked, on no weekday, at that hour.
AlarmRecord alarm(std::string name, int hour) {
    return {true, std::move(name), {}, static_cast<std::int16_t>(hour), 0, 0, "", false};
}

TEST(AlarmRecord, ToIntegerReadsDecimalNotationRoundingHalvesToEven) {
    const std::pair<std::string_view, std::int16_t> cases[] = {
        {"-7", -7}, {"+7", 7}, {" 12 ", 12}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-3.5", -4}, {"2.51", 3},
        {"2.500", 2}, {"2.4999", 2}, {"-0.4", 0}, {".6", 1}, {"5.", 5}, {"32767", 32767}, {"-32768", -32768},
        {"32767.5", 0}, {"-32768.5", -32768}, {"32768", 0}, {"-32769", 0}, {"99999999999999999999999", 0}, {"", 0},
        {"1a", 0}, {"1e2", 0}, {"1.2.3", 0}, {".", 0}, {"+-1", 0}, {"1 2", 0}, {"\t1", 0}, {"１", 0},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(toInteger(text), expected) << "text \"" << text << "\"";
}

// formatAlarmLine(parseAlarmLine(line)): the form every row keeps. Flags: only
// the number 1 is true (2, -1 and 1.5 are not; 1.0, 01 and 0.5000001 are). No
// range check on the clock fields; out of the 16-bit range reads as 0, like a
// word. Only outer spaces go, in both texts. Fields after the fourteenth go.
TEST(AlarmRecord, LineIsNormalisedThroughTheRecord) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"2,a,-1,1.0,01, 1 ,1.5,0.5000001,x,0,0,0,,-1", "0,a,0,1,1,1,0,1,0,00,00,00,,0"},
        {"1,a,0,0,0,0,0,0,0,123,-5,2.5,,0", "1,a,0,0,0,0,0,0,0,123,-05,02,,0"},
        {"32768,a,0,0,0,0,0,0,0,32768,word,32767,,1", "0,a,0,0,0,0,0,0,0,00,00,32767,,1"},
        {"1,  \ta  b ,0,0,0,0,0,0,0,1,2,3,  C:\\a b.wav  ,0", "1,\ta  b,0,0,0,0,0,0,0,01,02,03,C:\\a b.wav,0"},
        {"1,a,0,0,0,0,0,0,0,1,2,3,f,1,extra,more", "1,a,0,0,0,0,0,0,0,01,02,03,f,1"},
        {",,,,,,,,,,,,,", "0,,0,0,0,0,0,0,0,00,00,00,,0"},
    };
    for (const auto& [given, held] : cases) {
        const std::optional<AlarmRecord> record = parseAlarmLine(given);
        ASSERT_TRUE(record.has_value()) << given;
        EXPECT_EQ(formatAlarmLine(*record), held) << given;
    }
    for (const char* line : {"", "1.1", "1,a,0,0,0,0,0,0,0,1,2,3,f"}) EXPECT_FALSE(parseAlarmLine(line)) << line;
}

// A row shows its record's texts; the check box rewrites only the line's
// first character, and says when there is something to save.
TEST(AlarmList, RowShowsTheColumnTextsOfItsRecordAndItsNumber) {
    AlarmList list;
    ASSERT_TRUE(list.addAlarmLine("0,朝会,0,1,1,1,1,1,0,7,5,0,bell.wav,1"));
    ASSERT_TRUE(list.addAlarmLine("1,x,1,1,1,1,1,1,1,23,59,59,,0"));
    using Row = std::array<std::string, kColumnCount>;
    EXPECT_EQ(list.row(0).texts, (Row{"1:", "朝会", "月火水木金", "07:05:00", "bell.wav", "する"}));
    EXPECT_EQ(list.row(1).texts, (Row{"2:", "x", "日月火水木金土", "23:59:59", "", "しない"}));
    EXPECT_TRUE(list.changeCheck(0, true));
    EXPECT_TRUE(list.row(0).checked);
    EXPECT_EQ(list.row(0).tag, "1,朝会,0,1,1,1,1,1,0,07,05,00,bell.wav,1");
    EXPECT_FALSE(list.changeCheck(0, true));  // unchanged
    EXPECT_FALSE(list.changeCheck(2, true));  // no such row
    EXPECT_FALSE(list.addAlarmLine("1,too,few"));
    // Numbers widen and narrow with the row count.
    list.clearRows();
    list.setTag("list.alm");
    for (int i = 0; i < 10; ++i) list.addAlarmLine(kDefaultAlarmLine);
    EXPECT_EQ(list.row(0).text(Column::number), "01:");
    list.deleteCurrentRow();
    EXPECT_EQ(column(list, Column::number), (Texts{"1:", "2:", "3:", "4:", "5:", "6:", "7:", "8:", "9:"}));
    for (int i = 0; i < 91; ++i) list.addAlarmRow(AlarmRecord{});
    list.renumberRows();
    EXPECT_EQ(list.row(0).text(Column::number), "001:");
    EXPECT_EQ(list.row(99).text(Column::number), "100:");
}

// Equal texts keep their order in both directions (enough rows that an
// unstable sort would not get it right by chance); texts compare by code
// point: "B" < "a" < "ア" (U+30A2) < "亜" (U+4E9C) < "ｱ" (U+FF71). The number
// column sorts by its own texts: descending reverses the rows. (The window
// tests click the headers.)
TEST(AlarmList, SortIsStableByCodePointAndTheNumberColumnReverses) {
    AlarmList list;
    Texts names;  // in the order added, each led by its hour
    for (int i = 0; i < 60; ++i) {
        names.push_back(std::to_string(8 + i % 2) + "-" + std::to_string(i));
        list.addAlarmRow(alarm(names.back(), 8 + i % 2));
    }
    for (const auto& [order, first] : {std::pair{SortOrder::ascending, '8'}, {SortOrder::descending, '9'}}) {
        list.applySort(Column::time, order);
        Texts expected = names;
        std::stable_partition(expected.begin(), expected.end(),
                              [lead = first](const auto& name) { return name[0] == lead; });
        EXPECT_EQ(column(list), expected) << first;
    }
    list.clearRows();
    for (const char* name : {"ｱ", "亜", "a", "ア", "B"}) list.addAlarmRow(alarm(name, 0));
    list.applySort(Column::name, SortOrder::ascending);
    EXPECT_EQ(column(list), (Texts{"B", "a", "ア", "亜", "ｱ"}));
    list.applySort(Column::number, SortOrder::descending);
    EXPECT_EQ(column(list), (Texts{"ｱ", "亜", "ア", "a", "B"}));
    EXPECT_EQ(list.column(0).header, " ▽");
    EXPECT_EQ(list.column(1).header, "名前");
    list.setUpAlarmColumns();
    EXPECT_EQ(list.column(0).header, "");
}

// A new row goes to the end until sorting is on, then to its sorted place
// after its equals (by the number column: at the end); it becomes current and
// is the only one highlighted. A file's rows are sorted once as they load;
// the first is current, yet none is highlighted.
TEST(AlarmList, RowsAddedOrLoadedWhileSortedTakeTheirPlace) {
    AlarmList list;
    list.setTag("list.alm");
    for (const auto& [name, hour] : {std::pair{"late", 20}, {"early", 6}}) list.addAlarmRow(alarm(name, hour));
    EXPECT_EQ(column(list), (Texts{"late", "early"}));
    list.applySort(Column::time, SortOrder::descending);
    for (const auto& [name, hour] : {std::pair{"n1", 12}, {"n2", 12}, {"z", 0}}) list.addAlarmRow(alarm(name, hour));
    list.addAlarmLine("1,n3,0,0,0,0,0,0,0,12,00,00,,0");
    EXPECT_EQ(column(list), (Texts{"late", "n1", "n2", "n3", "early", "z"}));
    EXPECT_EQ(column(list, Column::number), (Texts{"1:", "2:", "3:", "4:", "5:", "6:"}));
    EXPECT_EQ(column(list, Column::name, true), Texts{"n3"});
    // An edit goes by identity, not by the current row (an extension may have become it meanwhile).
    list.makeCurrent(0);
    list.replaceRow(list.row(1).id, alarm("e", 7));
    EXPECT_EQ(column(list), (Texts{"late", "n2", "n3", "e", "early", "z"}));
    EXPECT_EQ(column(list, Column::name, true), Texts{"e"});
    list.applySort(Column::number, SortOrder::ascending);
    list.addAlarmRow(alarm("zzz", 0));
    EXPECT_EQ(column(list).back(), "zzz");
    list.applySort(Column::name, SortOrder::descending);
    list.loadRows({alarm("b", 1), alarm("a", 2), alarm("c", 3), alarm("a", 4)});
    EXPECT_EQ(column(list, Column::time), (Texts{"03:00:00", "01:00:00", "02:00:00", "04:00:00"}));
    EXPECT_EQ(column(list, Column::number), (Texts{"1:", "2:", "3:", "4:"}));
    EXPECT_EQ(list.currentPosition(), 0u);
    EXPECT_EQ(column(list, Column::name, true), Texts{});
}

// The current row follows its row through sorting and is gone after a
// delete or a clear (which takes its highlight too). The window tests click
// rows to make them current.
// A sort shows the highlighted current row, or else the top.
TEST(AlarmList, CurrentRowFollowsItsRowAndIsGoneAfterDeleteAndASortShowsItWhenHighlighted) {
    AlarmList list;
    EXPECT_EQ(list.rowToShowAfterSort(), std::nullopt);
    list.addAlarmRow(alarm("a", 3));
    EXPECT_FALSE(list.hasCurrentRow());  // no file open
    list.setTag("C:\\x\\list.alm");
    for (const auto& [name, hour] : {std::pair{"b", 2}, {"c", 1}}) list.addAlarmRow(alarm(name, hour));
    list.makeCurrent(0);   // "a"
    list.applySort(Column::time, SortOrder::ascending);  // "a" moves to the end
    EXPECT_EQ(list.currentTag() ? *list.currentTag() : "", "1,a,0,0,0,0,0,0,0,03,00,00,,0");
    EXPECT_EQ(list.rowToShowAfterSort(), 2u);
    list.makeCurrent(2, false);
    EXPECT_EQ(list.rowToShowAfterSort(), 0u);
    list.deleteCurrentRow();
    list.deleteCurrentRow();  // nothing current: nothing removed
    EXPECT_EQ(column(list), (Texts{"c", "b"}));
    list.makeCurrent(1);
    list.clearCurrent();
    EXPECT_FALSE(list.hasCurrentRow());
    EXPECT_EQ(column(list, Column::name, true), Texts{});
}

constexpr const char* kList = "C:\\prog\\list.alm";
// Two alarms as code page 932 bytes (ASCII only, so the same as UTF-8).
const std::string kLineA = "1,a,0,1,1,1,1,1,0,09,00,00,C:\\s\\bell.wav,0", kLineB = "0,b,1,1,1,1,1,1,1,18,00,00,lock,0";
const std::string kFileA = "1.1\r\n" + kLineA + "\r\n";

// A message box's text: the message, a line break, the full path.
std::string box(std::string_view message, const std::string& path) { return std::string(message) + "\r\n" + path; }

// That whatever opens saves and reads back the same, and that a refused file
// says so once, is checked over the alarm file fuzzer's corpus.
class AlarmFileTest : public ::testing::Test, protected test::ProgramFiles {
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

    test::RecordingMessageBoxes messages;
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
        EXPECT_EQ(std::pair(tags(), list.isFileOpen()), std::pair(rows, refusal.empty())) << bytes;
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
TEST_F(AlarmFileTest, SaveWritesTheRowsInDisplayOrderAndNewOnlyTheVersion) {
    list.addAlarmLine(kLineA);
    EXPECT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.writeCount(), 0);
    ASSERT_TRUE(openBytes(kFileA + kLineB + "\r\n").empty());
    list.applySort(Column::name, SortOrder::descending);  // by name, descending: b before a
    list.addAlarmLine("1, c ,0,0,0,0,0,0,0,7,5,0,,1");
    const std::string saved = "1.1\r\n1,c,0,0,0,0,0,0,0,07,05,00,,1\r\n" + kLineB + "\r\n" + kLineA + "\r\n";
    ASSERT_TRUE(saveAlarmFile(list, context));
    ASSERT_TRUE(saveAlarmFileAs(list, context, "copy.alm"));
    EXPECT_EQ(fs.content(kList), saved);
    EXPECT_EQ(fs.content("C:\\prog\\copy.alm"), saved);
    EXPECT_EQ(list.tag(), "list.alm");
    list.clearRows();
    ASSERT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.content(kList), "1.1\r\n");
    // New writes the version line alone, over an older file, and opens it.
    fs.put("D:\\x\\old.alm", kFileA);
    EXPECT_EQ(createAndOpenAlarmFile(list, context, "D:\\x\\old.alm"), "D:\\x\\old.alm");
    EXPECT_EQ(fs.content("D:\\x\\old.alm"), "1.1\r\n");
    EXPECT_EQ(list.tag(), "D:\\x\\old.alm");
}

// A failed save or Save As says so and leaves the old file, the rows and the
// tag; so does a row the file could not hold or could not be opened again
// with: a character code page 932 lacks, a CR, a NUL. A failed New keeps the
// open file.
TEST_F(AlarmFileTest, FailedWritesKeepTheOldFileTheRowsAndTheTag) {
    ASSERT_TRUE(openBytes(kFileA).empty());
    list.addAlarmLine(kLineB);
    fs.failWrites(3);
    EXPECT_FALSE(saveAlarmFile(list, context));
    EXPECT_FALSE(saveAlarmFileAs(list, context, "D:\\y\\copy.alm"));
    EXPECT_EQ(createAndOpenAlarmFile(list, context, "new.alm"), std::nullopt);
    EXPECT_EQ(messages.errors, (Texts{box(kMsgCannotSave, kList), box(kMsgCannotSave, "D:\\y\\copy.alm"),
                                      box(kMsgCannotSave, "C:\\prog\\new.alm")}));
    EXPECT_EQ(fs.content("D:\\y\\copy.alm"), "");
    EXPECT_EQ(fs.content("C:\\prog\\new.alm"), "");
    EXPECT_EQ(list.tag(), "list.alm");
    EXPECT_EQ(tags(), (Texts{kLineA, kLineB}));
    for (const std::string& name : {std::string("smile 😀"), std::string("a\rb"), std::string("a\0b", 3)}) {
        list.addAlarmLine("1," + name + ",0,0,0,0,0,0,0,00,00,00,,0");
        messages.errors.clear();
        EXPECT_FALSE(saveAlarmFile(list, context));
        EXPECT_EQ(messages.errors, Texts{box(kMsgCannotSave, kList)});
        list.deleteCurrentRow();
    }
    EXPECT_EQ(fs.content(kList), kFileA);
}

// Path rules on decoded text: 表 and ソ carry no backslash byte in UTF-8. The
// directory part is what precedes the last backslash (the name part, used by
// the title, the tray tip and the preview, is shown by their tests).
TEST(Paths, SplitAtTheLastBackslashAndResolveRelativeNamesInTheProgramDirectory) {
    const std::tuple<std::string_view, std::string_view, std::string_view> cases[] = {
        // path, directory, resolved in C:\prog
        {"sub\\a.alm", "sub", "C:\\prog\\sub\\a.alm"}, {"\\a.alm", "", "C:\\prog\\a.alm"},  // one backslash: relative
        {"\\\\srv\\s\\a.alm", "\\\\srv\\s", "\\\\srv\\s\\a.alm"}, {"C:a.alm", "", "C:a.alm"},  // drive-relative
        {"C:\\prog\\", "C:\\prog", "C:\\prog\\"},       {"D:\\表\\ソ.alm", "D:\\表", "D:\\表\\ソ.alm"}, {"", "", ""},
    };
    for (const auto& [path, directory, resolved] : cases) {
        EXPECT_EQ(directoryPart(path), directory) << path;
        EXPECT_EQ(resolveInProgramDirectory(path, "C:\\prog"), resolved) << path;
    }
    // The tag is the bare name only directly in the program directory (case
    // counts), and resolves back to the file it was made from.
    const std::tuple<std::string_view, std::string_view, std::string_view> tags[] = {
        {"C:\\prog\\list.alm", "C:\\prog", "list.alm"},       {"c:\\PROG\\list.alm", "C:\\prog", "c:\\PROG\\list.alm"},
        {"C:\\prog\\s\\a.alm", "C:\\prog", "C:\\prog\\s\\a.alm"}, {"C:\\progs\\a.alm", "C:\\prog", "C:\\progs\\a.alm"},
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
