#include "editor/timer_history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"
#include "support/timer_history_check.h"
#include "texts/editor_texts.h"

namespace kolvi {
namespace {

constexpr const char* kPath = "C:\\prog\\timer.history";

class TimerHistoryTest : public ::testing::Test {
protected:
    void put(std::string_view text) { fs.put(kPath, *codec.encode(text)); }
    std::string file() const { return *codec.decode(fs.content(kPath)); }

    test::MemoryFileSystem fs;
    IconvCodec codec;
    TimerHistory history{fs, codec, "C:\\prog"};
};

TEST_F(TimerHistoryTest, AMissingFileIsEmptyAndTheFirstRecordCreatesIt) {
    EXPECT_EQ(history.path(), kPath);
    EXPECT_TRUE(history.load().empty());
    EXPECT_FALSE(history.entry(0));
    EXPECT_TRUE(history.record({"カップ麺", "00", "3", "", "", true}));
    EXPECT_TRUE(history.record({"カップ麺", "00", "3", "", "", true}));
    EXPECT_EQ(file(), "カップ麺,00,3,,,1\r\nカップ麺,00,3,,,1\r\n");
    EXPECT_EQ(history.load(), (std::vector<TimerHistoryItem>{{"カップ麺", 0}, {"カップ麺", 1}}));
}

TEST_F(TimerHistoryTest, LinesWithoutSixFieldsAreSkippedWithoutShiftingTheOthers) {
    const std::string lines = "朝,1,2,3,C:\\表.wav,1\r\n\r\nb,1,2,3,4,5,6\r\nfive,f,f,f,f\r\nc,,,,x,yes\r\n";
    const std::vector<TimerHistoryItem> items{{"朝", 0}, {"c", 4}, {"d", 6}};
    // Line 5 has one field, then it is not code page 932 (the file is then decoded line by line).
    const std::string files[] = {*codec.encode(lines + "x\r\nd,,,,,0\r\n"), *codec.encode(lines) + "\x81\r\nd,,,,,0"};
    for (const std::string& bytes : files) {
        fs.put(kPath, bytes);
        EXPECT_EQ(history.load(), items);
        EXPECT_EQ(history.entry(0), (TimerHistoryEntry{"朝", "1", "2", "3", "C:\\表.wav", true}));
        EXPECT_EQ(history.entry(4), (TimerHistoryEntry{"c", "", "", "", "x", false}));
        for (const std::size_t position : {1u, 2u, 3u, 5u, 7u}) EXPECT_FALSE(history.entry(position)) << position;
    }
}

TEST_F(TimerHistoryTest, RecordRefusesWhatTheLineCannotHoldAndReportsFailures) {
    put("a,,,,,1\r\n");
    EXPECT_FALSE(history.record({"a,b", "", "", "", "", false}));
    EXPECT_FALSE(history.record({"", "", "", "", "a\nb", false}));
    fs.failWrites(1);
    EXPECT_FALSE(history.record({"b", "", "", "", "", false}));
    EXPECT_EQ(file(), "a,,,,,1\r\n");
    EXPECT_EQ(history.recordFailureText(), std::string(kMsgHistoryNotRecorded) + "\r\n" + kPath);
}

// The seeds include files whose last line ends in nothing, a lone CR and a lone
// LF: a record must start a line of its own after each.
TEST(TimerHistoryFuzzCorpusTest, EveryCorpusAndRegressionFileKeepsTheProperties) {
    const std::filesystem::path root(KOLVI_FUZZ_CORPUS);
    int replayed = 0;
    for (const auto& dir : {root / "timer_history", root.parent_path() / "regressions" / "timer_history"}) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            EXPECT_EQ(fuzzcheck::checkTimerHistory(bytes), "") << entry.path();
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 1);
}

}  // namespace
}  // namespace kolvi
