#include "store/alarm_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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
const std::string kCannotOpen = std::string(kMsgCannotOpen) + "\r\n";
const std::string kCannotSave = std::string(kMsgCannotSave) + "\r\n";

// Two alarms as code page 932 bytes (ASCII only, so the same as UTF-8).
constexpr const char* kLineA = "1,a,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0";
constexpr const char* kLineB = "0,b,1,1,1,1,1,1,1,18,00,00,lock,0";

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

TEST_F(AlarmFileTest, VersionLineIsComparedAsADecimalNumber) {
    struct Case {
        std::string version;
        std::string message;  // "" when accepted
    };
    const Case cases[] = {
        {"1.1", ""},
        {" 1.5 ", ""},
        {"2", ""},
        {"1.10", ""},
        {"1.100000000000000000001", ""},
        {"01.1", ""},
        {"1.09", kOldVersion},
        {"1.0999999999999999999", kOldVersion},
        {"1.0", kOldVersion},
        {"-1.1", kOldVersion},
        {"v1.1", kBadFormat},
        {"1.1a", kBadFormat},
        {"1.1.0", kBadFormat},
        {"", kBadFormat},
    };
    for (const Case& c : cases) {
        const Texts shown = openBytes(c.version + "\r\n" + kLineA + "\r\n");
        if (c.message.empty()) {
            EXPECT_TRUE(shown.empty()) << c.version;
            EXPECT_EQ(list.rowCount(), 1u) << c.version;
            EXPECT_EQ(list.tag(), "list.alm") << c.version;
        } else {
            EXPECT_EQ(shown, Texts{c.message + kList}) << c.version;
            EXPECT_EQ(list.rowCount(), 0u) << c.version;
            EXPECT_EQ(list.tag(), "") << c.version;
        }
    }
}

TEST_F(AlarmFileTest, LinesEndAtCrLfOrALoneCr) {
    struct Case {
        std::string name;
        std::string bytes;
        Texts rows;  // empty with refused = true means the file is refused
        bool refused = false;
    };
    const std::string a = kLineA, b = kLineB;
    const Case cases[] = {
        {"crlf", "1.1\r\n" + a + "\r\n" + b + "\r\n", {a, b}},
        {"no final line end", "1.1\r\n" + a + "\r\n" + b, {a, b}},
        {"lone cr", "1.1\r" + a + "\r" + b + "\r", {a, b}},
        {"version only", "1.1\r\n", {}},
        {"version without line end", "1.1", {}},
        {"blank lines skipped", "1.1\r\n\r\n" + a + "\r\n   \r\n\t\r\n" + b + "\r\n\r\n", {a, b}},
        {"lf only", "1.1\n" + a + "\n" + b + "\n", {}, true},
        // A lone LF belongs to the line: it stays inside the name.
        {"lf inside a line", "1.1\r\n1,x\ny,0,0,0,0,0,0,0,00,00,00,,0\r\n", {"1,x\ny,0,0,0,0,0,0,0,00,00,00,,0"}},
        {"line after the version is an LF", "1.1\r\n\n", {}, true},
    };
    for (const Case& c : cases) {
        const Texts shown = openBytes(c.bytes);
        if (c.refused) {
            EXPECT_EQ(shown, Texts{kBadFormat + kList}) << c.name;
        } else {
            EXPECT_TRUE(shown.empty()) << c.name;
            EXPECT_EQ(tags(), c.rows) << c.name;
            EXPECT_TRUE(list.isFileOpen()) << c.name;
        }
    }
}

TEST_F(AlarmFileTest, SplitFileLinesNeverAddsAnEmptyLastLine) {
    EXPECT_EQ(splitFileLines(""), std::vector<std::string_view>{});
    EXPECT_EQ(splitFileLines("\r\n"), std::vector<std::string_view>{""});
    EXPECT_EQ(splitFileLines("a\r\r\nb"), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_EQ(splitFileLines("a\n\rb\n"), (std::vector<std::string_view>{"a\n", "b\n"}));
}

TEST_F(AlarmFileTest, UnreadableContentRefusesTheWholeFile) {
    const std::string a = kLineA;
    const std::pair<const char*, std::string> cases[] = {
        {"empty file", ""},
        {"zero-filled", std::string(4096, '\0')},
        {"NUL in the version line", std::string("1.1\0\r\n", 6) + a + "\r\n"},
        {"NUL in an alarm line", "1.1\r\n" + a + std::string("\0", 1) + "\r\n"},
        {"not code page 932", "1.1\r\n1,\x81\x20,0,0,0,0,0,0,0,00,00,00,,0\r\n"},
        {"lead byte at the end", "1.1\r\n" + a + "\r\n\x82"},
        {"too few fields", "1.1\r\n" + a + "\r\n1,short,0\r\n"},
    };
    for (const auto& [name, bytes] : cases) {
        EXPECT_EQ(openBytes(bytes), Texts{kBadFormat + kList}) << name;
        EXPECT_EQ(list.rowCount(), 0u) << name;
        EXPECT_FALSE(list.isFileOpen()) << name;
    }
}

TEST_F(AlarmFileTest, OnlyOrdinaryReadableFilesOpen) {
    const std::string good = std::string("1.1\r\n") + kLineA + "\r\n";
    fs.put("C:\\prog\\hidden.alm", good);
    fs.markHidden("C:\\prog\\hidden.alm");
    fs.addDirectory("C:\\prog\\folder.alm");
    fs.put("C:\\prog\\locked.alm", good);
    fs.markUnreadable("C:\\prog\\locked.alm");

    const std::pair<std::string, std::string> cases[] = {
        {"C:\\prog\\none.alm", kNotFound},
        {"C:\\prog\\hidden.alm", kNotFound},
        {"C:\\prog\\folder.alm", kNotFound},
        {"C:\\prog\\locked.alm", kCannotOpen},
    };
    for (const auto& [path, message] : cases) {
        fs.put(kList, good);
        ASSERT_FALSE(open(kList).empty());
        messages.errors.clear();
        EXPECT_EQ(open(path), "") << path;
        EXPECT_EQ(messages.errors, Texts{message + path});
        // Whatever was open before is closed.
        EXPECT_EQ(list.rowCount(), 0u) << path;
        EXPECT_FALSE(list.isFileOpen()) << path;
    }
}

TEST_F(AlarmFileTest, TagIsTheBareNameOnlyInTheProgramDirectory) {
    const std::string good = "1.1\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\prog\\list.alm", "list.alm"},
        {"c:\\PROG\\list.alm", "c:\\PROG\\list.alm"},
        {"D:\\x\\list.alm", "D:\\x\\list.alm"},
        {"list.alm", "list.alm"},  // relative: the program directory, never the current one
    };
    for (const auto& [path, tag] : cases) {
        fs.put(path.find('\\') == std::string::npos ? std::string(kDir) + "\\" + path : path, good);
        const std::string opened = open(path);
        EXPECT_EQ(list.tag(), tag) << path;
        EXPECT_EQ(opened, path == "list.alm" ? std::string(kList) : path);
    }
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(AlarmFileTest, EmptyPathOpensTheRememberedFile) {
    fs.put("C:\\prog\\list.alm", "1.1\r\n" + std::string(kLineA) + "\r\n");
    fs.put("D:\\x\\list.alm", "1.1\r\n");
    const std::pair<std::string, std::string> cases[] = {
        {"list.alm", kList},
        {"  list.alm  ", kList},
        {"D:\\x\\list.alm", "D:\\x\\list.alm"},
    };
    for (const auto& [lastopen, opened] : cases) {
        fs.put("C:\\prog\\kolvialarm.ini", "[list]\r\nlastopen=" + lastopen + "\r\n");
        EXPECT_EQ(open(""), opened) << lastopen;
    }
    EXPECT_TRUE(messages.errors.empty());

    fs.put("C:\\prog\\kolvialarm.ini", "[list]\r\nlastopen=\r\n");
    EXPECT_EQ(open(""), "");
    EXPECT_TRUE(messages.errors.empty());  // nothing named: no message
    EXPECT_FALSE(list.isFileOpen());
}

TEST_F(AlarmFileTest, Cp932TrailBytesSurviveOpenAndSave) {
    // 表 = 95 5C, ソ = 83 5C, 能 = 94 5C, × = 81 7E, ｱ = B1 (one byte).
    const std::string bytes =
        "1.1\r\n"
        "1,\x95\x5C\x83\x5C,0,0,0,0,0,0,0,07,00,00,C:\\\x94\x5C\\\x83\x5C.wav,0\r\n"
        "0,\x81\x7E\xB1,1,1,1,1,1,1,1,08,00,00,,1\r\n";
    ASSERT_TRUE(openBytes(bytes).empty());
    ASSERT_EQ(list.rowCount(), 2u);
    EXPECT_EQ(list.row(0).texts[1], "表ソ");
    EXPECT_EQ(list.row(0).texts[4], "C:\\能\\ソ.wav");
    EXPECT_EQ(list.row(1).texts[1], "×ｱ");

    ASSERT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.content(kList), bytes);
}

TEST_F(AlarmFileTest, SaveWritesTheVersionAndRowsInDisplayOrder) {
    ASSERT_TRUE(openBytes("1.1\r\n" + std::string(kLineA) + "\r\n" + kLineB + "\r\n").empty());
    list.applySort(1, 1);  // by name, descending: b before a
    list.addAlarmLine("1, c ,0,0,0,0,0,0,0,7,5,0,,1");
    ASSERT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.content(kList), "1.1\r\n"
                                 "1,c,0,0,0,0,0,0,0,07,05,00,,1\r\n" +
                                     std::string(kLineB) + "\r\n" + kLineA + "\r\n");

    list.clearRows();
    ASSERT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.content(kList), "1.1\r\n");
}

TEST_F(AlarmFileTest, FailedSaveKeepsTheOldFileAndTheRows) {
    const std::string old = "1.1\r\n" + std::string(kLineA) + "\r\n";
    ASSERT_TRUE(openBytes(old).empty());
    list.addAlarmLine(kLineB);

    fs.failWrites(1);
    EXPECT_FALSE(saveAlarmFile(list, context));
    EXPECT_EQ(messages.errors, Texts{kCannotSave + kList});
    EXPECT_EQ(fs.content(kList), old);
    EXPECT_EQ(list.rowCount(), 2u);
    EXPECT_EQ(list.tag(), "list.alm");

    // A name code page 932 cannot hold fails the save the same way, before any write.
    messages.errors.clear();
    const int writes = fs.writeCount();
    list.addAlarmLine("1,smile 😀,0,0,0,0,0,0,0,00,00,00,,0");
    EXPECT_FALSE(saveAlarmFile(list, context));
    EXPECT_EQ(messages.errors, Texts{kCannotSave + kList});
    EXPECT_EQ(fs.writeCount(), writes);
    EXPECT_EQ(fs.content(kList), old);
}

TEST_F(AlarmFileTest, RowsThatCouldNotBeReadBackAreNotSaved) {
    ASSERT_TRUE(openBytes("1.1\r\n").empty());
    for (std::string name : {std::string("a\rb"), std::string("a\0b", 3)}) {
        list.clearRows();
        list.addAlarmLine("1," + name + ",0,0,0,0,0,0,0,00,00,00,,0");
        messages.errors.clear();
        EXPECT_FALSE(saveAlarmFile(list, context));
        EXPECT_EQ(messages.errors.size(), 1u);
        EXPECT_EQ(fs.content(kList), "1.1\r\n");
    }
}

TEST_F(AlarmFileTest, SavingWithNoFileOpenWritesNothing) {
    list.addAlarmLine(kLineA);
    EXPECT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(fs.writeCount(), 0);
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(AlarmFileTest, CreateWritesTheVersionLineAlone) {
    fs.put("D:\\x\\old.alm", "1.1\r\n" + std::string(kLineA) + "\r\n");
    EXPECT_TRUE(createAlarmFile(context, "D:\\x\\old.alm"));
    EXPECT_EQ(fs.content("D:\\x\\old.alm"), "1.1\r\n");
    EXPECT_TRUE(createAlarmFile(context, "new.alm"));
    EXPECT_EQ(fs.content("C:\\prog\\new.alm"), "1.1\r\n");

    fs.failWrites(1);
    EXPECT_FALSE(createAlarmFile(context, "D:\\x\\other.alm"));
    EXPECT_EQ(messages.errors, Texts{kCannotSave + "D:\\x\\other.alm"});
    EXPECT_FALSE(fs.exists("D:\\x\\other.alm"));
}

TEST_F(AlarmFileTest, OpenedFileHasItsFirstRowCurrentButNotHighlighted) {
    list.applySort(1, 1);  // sorting is on before the file opens, as at start-up
    ASSERT_TRUE(openBytes("1.1\r\n" + std::string(kLineA) + "\r\n" + kLineB + "\r\n").empty());
    EXPECT_EQ(tags(), (Texts{kLineB, kLineA}));
    EXPECT_EQ(list.row(0).texts[0], "1:");
    ASSERT_TRUE(list.hasCurrentRow());
    EXPECT_EQ(*list.currentTag(), kLineB);
    EXPECT_FALSE(list.row(0).selected || list.row(1).selected);
}

TEST_F(AlarmFileTest, SaveAsWritesTheRowsUnderTheNewName) {
    const std::string old = "1.1\r\n" + std::string(kLineA) + "\r\n";
    ASSERT_TRUE(openBytes(old).empty());
    list.setTag("D:\\y\\copy.alm");
    ASSERT_TRUE(saveAlarmFile(list, context));
    EXPECT_EQ(open("D:\\y\\copy.alm"), "D:\\y\\copy.alm");
    EXPECT_EQ(tags(), Texts{kLineA});
    EXPECT_EQ(fs.content("D:\\y\\copy.alm"), old);
    EXPECT_EQ(fs.content(kList), old);
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
            if (!entry.is_regular_file()) continue;
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
