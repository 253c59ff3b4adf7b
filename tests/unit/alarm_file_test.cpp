#include "store/alarm_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "support/alarm_file_round_trip.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using Texts = std::vector<std::string>;

constexpr const char* kDir = "C:\\prog";
constexpr const char* kList = "C:\\prog\\list.alm";
const std::string kNotFound = std::string(kMsgFileNotFound) + "\r\n";
const std::string kBadFormat = std::string(kMsgBadFormat) + "\r\n";
const std::string kOldVersion = std::string(kMsgOldVersion) + "\r\n";
const std::string kCannotSave = std::string(kMsgCannotSave) + "\r\n";

// Two alarms as code page 932 bytes (ASCII only, so the same as UTF-8).
const std::string kLineA = "1,a,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0";
const std::string kLineB = "0,b,1,1,1,1,1,1,1,18,00,00,lock,0";
const std::string kFileA = "1.1\r\n" + kLineA + "\r\n";

class AlarmFileTest : public ::testing::Test {
protected:
    std::string open(const std::string& path) { return openAlarmFile(list, context, path); }

    Texts tags() const {
        Texts result;
        for (std::size_t i = 0; i < list.rowCount(); ++i) result.push_back(list.row(i).tag);
        return result;
    }

    // Opens bytes written to C:\prog\list.alm; returns the messages shown.
    Texts openBytes(std::string bytes) {
        fs.put(kList, std::move(bytes));
        messages.errors.clear();
        open(kList);
        return messages.errors;
    }

    test::MemoryFileSystem fs;
    IconvCodec codec;
    test::RecordingMessageBoxes messages;
    SettingsFile settings{fs, codec, "C:\\prog\\kolvialarm.ini"};
    AlarmFileContext context{fs, codec, messages, settings, kDir};
    AlarmList list;
};

// A file opens whole (its rows, in file order) or not at all (one message, no
// rows, no file open).
TEST_F(AlarmFileTest, OpensWholeOrNotAtAll) {
    const std::string a = kLineA, b = kLineB;
    const std::tuple<const char*, std::string, Texts, std::string> cases[] = {
        // what, bytes, rows, refusal ("" when opened)
        // The version is a decimal number: 1.10 is 1.1, 1.09 is older.
        {"1.10", "1.10\r\n" + a, {a}, ""},
        {"blanks and leading zeros", " 01.1 \r\n" + a, {a}, ""},
        {"10", "10\r\n" + a, {a}, ""},
        {"01.09", "01.09\r\n" + a, {}, kOldVersion},
        {"longer than a double holds", "1.100000000000000000001\r\n" + a, {a}, ""},
        {"1.09", "1.09\r\n" + a, {}, kOldVersion},
        {"just below 1.1", "1.0999999999999999999\r\n" + a, {}, kOldVersion},
        {"negative", "-1.1\r\n" + a, {}, kOldVersion},
        {"not a number", "v1.1\r\n" + a, {}, kBadFormat},
        // Lines end at CR LF or a lone CR; a lone LF belongs to its line.
        {"no final line end", "1.1\r\n" + a + "\r\n" + b, {a, b}, ""},
        {"lone CR, CR CR LF", "1.1\r" + a + "\r\r\n" + b + "\r", {a, b}, ""},
        {"version without line end", "1.1", {}, ""},
        {"blank lines skipped", "1.1\r\n\r\n" + a + "\r\n   \r\n\t\r\n" + b + "\r\n\r\n", {a, b}, ""},
        {"LF inside a name", "1.1\r\n1,x\ny,0,0,0,0,0,0,0,00,00,00,,0\r\n", {"1,x\ny,0,0,0,0,0,0,0,00,00,00,,0"}, ""},
        {"LF only", "1.1\n" + a + "\n" + b + "\n", {}, kBadFormat},
        {"a line that is an LF", "1.1\r\n\n", {}, kBadFormat},
        // Unreadable content refuses the whole file.
        {"empty file", "", {}, kBadFormat},
        {"NUL in an alarm line", "1.1\r\n" + a + std::string("\0", 1) + "\r\n", {}, kBadFormat},
        {"not code page 932", "1.1\r\n1,\x81\x20,0,0,0,0,0,0,0,00,00,00,,0\r\n", {}, kBadFormat},
        {"too few fields", "1.1\r\n" + a + "\r\n1,short,0\r\n", {}, kBadFormat},
    };
    for (const auto& [what, bytes, rows, refusal] : cases) {
        EXPECT_EQ(openBytes(bytes), refusal.empty() ? Texts{} : Texts{refusal + kList}) << what;
        EXPECT_EQ(tags(), rows) << what;
        EXPECT_EQ(list.isFileOpen(), refusal.empty()) << what;
    }
}

// Relative names are in the program directory, never the current one; the
// tag is the bare name only there. A file that cannot be opened closes the
// one that was open.
TEST_F(AlarmFileTest, OnlyOrdinaryReadableFilesOpen) {
    fs.put("C:\\prog\\hidden.alm", kFileA);
    fs.markHidden("C:\\prog\\hidden.alm");
    fs.put("C:\\prog\\locked.alm", kFileA);
    fs.markUnreadable("C:\\prog\\locked.alm");
    fs.put("D:\\x\\list.alm", kFileA);
    const std::tuple<std::string, std::string, std::string> cases[] = {
        // path, tag, message
        {"list.alm", "list.alm", ""},
        {"D:\\x\\list.alm", "D:\\x\\list.alm", ""},
        {"C:\\prog\\none.alm", "", kNotFound + "C:\\prog\\none.alm"},
        {"hidden.alm", "", kNotFound + "C:\\prog\\hidden.alm"},
        {"C:\\prog\\locked.alm", "", std::string(kMsgCannotOpen) + "\r\nC:\\prog\\locked.alm"},
    };
    for (const auto& [path, tag, message] : cases) {
        ASSERT_TRUE(openBytes(kFileA).empty());
        EXPECT_EQ(open(path).empty(), tag.empty()) << path;
        EXPECT_EQ(list.tag(), tag) << path;
        EXPECT_EQ(messages.errors, message.empty() ? Texts{} : Texts{message}) << path;
        EXPECT_EQ(tags(), tag.empty() ? Texts{} : Texts{kLineA}) << path;
    }
}

TEST_F(AlarmFileTest, EmptyPathOpensTheRememberedFile) {
    fs.put("D:\\x\\list.alm", "1.1\r\n");
    for (const auto& [lastopen, opened] : {std::pair{"  D:\\x\\list.alm  ", "D:\\x\\list.alm"}, {"", ""}}) {
        fs.put("C:\\prog\\kolvialarm.ini", std::string("[list]\r\nlastopen=") + lastopen + "\r\n");
        EXPECT_EQ(open(""), opened) << lastopen;
    }
    EXPECT_TRUE(messages.errors.empty());  // nothing named: no message
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
    ASSERT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.content(kList), saved);
    ASSERT_TRUE(saveAlarmFileAs(list, context, "D:\\y\\copy.alm"));
    ASSERT_TRUE(saveAlarmFileAs(list, context, "copy.alm"));
    EXPECT_EQ(fs.content("D:\\y\\copy.alm"), saved);
    EXPECT_EQ(fs.content("C:\\prog\\copy.alm"), saved);
    EXPECT_EQ(list.tag(), "list.alm");
    list.clearRows();
    ASSERT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.content(kList), "1.1\r\n");
}

// A failed save or Save As says so and leaves the old file, the rows and the
// tag; so does a row the file could not hold or could not be opened again
// with: a character code page 932 lacks, a CR, a NUL.
TEST_F(AlarmFileTest, FailedSaveKeepsTheOldFileTheRowsAndTheTag) {
    ASSERT_TRUE(openBytes(kFileA).empty());
    list.addAlarmLine(kLineB);
    fs.failWrites(2);
    EXPECT_FALSE(saveAlarmFile(list, context));
    EXPECT_FALSE(saveAlarmFileAs(list, context, "D:\\y\\copy.alm"));
    EXPECT_EQ(messages.errors, (Texts{kCannotSave + kList, kCannotSave + "D:\\y\\copy.alm"}));
    EXPECT_EQ(fs.content("D:\\y\\copy.alm"), "");
    EXPECT_EQ(list.rowCount(), 2u);
    EXPECT_EQ(list.tag(), "list.alm");
    for (const std::string& name : {std::string("smile 😀"), std::string("a\rb"), std::string("a\0b", 3)}) {
        list.addAlarmLine("1," + name + ",0,0,0,0,0,0,0,00,00,00,,0");
        messages.errors.clear();
        EXPECT_FALSE(saveAlarmFile(list, context));
        EXPECT_EQ(messages.errors, Texts{kCannotSave + kList});
        list.deleteCurrentRow();
    }
    EXPECT_EQ(fs.content(kList), kFileA);
}

// New writes the version line alone and opens it; when it cannot be written,
// the open file and its rows stay.
TEST_F(AlarmFileTest, NewCreatesAndOpensOrKeepsTheOpenFile) {
    fs.put("D:\\x\\old.alm", kFileA);
    EXPECT_EQ(createAndOpenAlarmFile(list, context, "D:\\x\\old.alm"), "D:\\x\\old.alm");
    EXPECT_EQ(fs.content("D:\\x\\old.alm"), "1.1\r\n");
    EXPECT_EQ(list.tag(), "D:\\x\\old.alm");
    ASSERT_TRUE(openBytes(kFileA).empty());
    fs.failWrites(1);
    EXPECT_EQ(createAndOpenAlarmFile(list, context, "new.alm"), std::nullopt);
    EXPECT_EQ(messages.errors, Texts{kCannotSave + "C:\\prog\\new.alm"});
    EXPECT_EQ(list.tag(), "list.alm");
    EXPECT_EQ(tags(), Texts{kLineA});
}

// Every input the fuzzer keeps, and every input that once broke the reader,
// goes through the same round trip here.
TEST(AlarmFileCorpus, EverySavedInputRoundTrips) {
    const std::filesystem::path corpus = std::filesystem::path(KOLVI_FUZZ_CORPUS) / "alarm_file";
    const std::filesystem::path regressions =
        std::filesystem::path(KOLVI_FUZZ_CORPUS).parent_path() / "regressions" / "alarm_file";
    int replayed = 0;
    for (const std::filesystem::path& dir : {corpus, regressions}) {
        if (!std::filesystem::is_directory(dir)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            EXPECT_EQ(test::checkAlarmFileRoundTrip(bytes), "") << entry.path();
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "no seed files under " << corpus;
}

}  // namespace
}  // namespace kolvi
