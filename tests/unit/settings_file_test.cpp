#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"
#include "support/settings_check.h"

namespace kolvi {
namespace {

using namespace std::string_literals;

constexpr const char* kIni = "C:\\prog\\kolvialarm.ini";
constexpr const char* kDefault = "<default>";

class SettingsFileTest : public ::testing::Test {
protected:
    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, kIni};
};

// What the system's own reader cannot be asked: code page 932 byte by byte.
// Trail bytes that look like ASCII (\, A, ]) do not count; full-width letters
// and the full-width space are no ASCII; a stray byte spoils only its own
// line (an invalid header still ends a section); a query the code page
// cannot hold finds nothing; only the first '=' splits. A missing or unreadable
// file gives the default.
TEST_F(SettingsFileTest, ReadsCodePage932FilesLineByLine) {
    fs.put(kIni,
           "[\x95\x5c]\r\n\x83\x5c=\x95\x5c\x8e\xa6\r\n[\x83\x41]\r\nk=1\r\n[\x82\x60]\r\nk=1\r\n[s]\r\n[x\x81\x5d\r\n"
           "k=\x81\x40v\x82\x9f\r\n[a]\r\nv=1\x80\r\n[b\x80]\r\nz=1\r\n[c]\r\nz=2\r\n?=3\r\ne=a=b\r\n");
    const std::array<std::string, 3> queries[] = {
        {"表", "ソ", "表示"}, {"ヂ", "k", kDefault}, {"ａ", "k", kDefault}, {"s", "k", "\u3000vぁ"}, {"a", "v", kDefault},
        {"a", "z", kDefault}, {"c", "z", "2"},        {"c", "\xF0\x9F\x98\x80", kDefault},     {"c", "e", "a=b"},
    };
    for (const auto& [section, key, expected] : queries) {
        EXPECT_EQ(settings.readString(section, key, kDefault), expected) << "[" << section << "] " << key;
    }
    fs.markUnreadable(kIni);
    EXPECT_EQ(settings.readString("c", "z", kDefault), kDefault);
    EXPECT_EQ(SettingsFile(fs, codec, "C:\\prog\\none.ini").readInt("c", "z", 250), 250);
}

// Beyond the range of int a number saturates; a full-width digit is none, and
// an unreadable line gives the default. Values are cut at whole characters
// (254 bytes by default).
TEST_F(SettingsFileTest, IntegersSaturateAndLongValuesAreCutAtWholeCharacters) {
    const std::pair<const char*, int> integers[] = {
        {"2147483648", INT_MAX}, {"-2147483649", INT_MIN}, {"99999999999999999999999", INT_MAX},
        {"-99999999999999999999999", INT_MIN}, {"\x82\x50", 0}, {"12\x80", 99},
    };
    for (const auto& [value, expected] : integers) {
        fs.put(kIni, std::string("[i]\r\nv=") + value + "\r\n");
        EXPECT_EQ(settings.readInt("i", "v", 99), expected) << value;
    }
    const std::tuple<std::string, std::size_t, std::string> cuts[] = {
        {"\x82\xa0\x82\xa2\x82\xa4", 5, "あい"},  // never half of う
        {"a\x95\x5c", 2, "a"},                   // nor the lead byte of 表
        {"\xb1\xb2\x82\xa0", 3, "ｱｲ"},           // half-width kana are one byte
    };
    for (const auto& [value, maxBytes, expected] : cuts) {
        fs.put(kIni, "[s]\r\nv=" + value + "\r\n");
        EXPECT_EQ(settings.readString("s", "v", kDefault, maxBytes), expected) << maxBytes;
    }
    fs.put(kIni, "[s]\r\nv=" + std::string(300, 'a') + "\r\n");
    EXPECT_EQ(settings.readString("s", "v", kDefault).size(), 254u);
}

// Layouts the system would rewrite, so only we can be asked.
TEST_F(SettingsFileTest, WritesChangeOrAddOnlyTheOneLine) {
    const std::tuple<const char*, std::string, std::string, std::string, std::string, std::string> cases[] = {
        // what, before (code page 932), section, key, value, after
        {"a new key after the section's last line, before its blank lines", "[a]\r\nx=1\r\n; n\r\nbare\r\n\r\n[b]\r\n",
         "a", "z", "3", "[a]\r\nx=1\r\n; n\r\nbare\r\nz=3\r\n\r\n[b]\r\n"},
        {"the unnamed section, after its keys", "; head\r\n\r\n[s]\r\n", "", "j", "7", "; head\r\nj=7\r\n\r\n[s]\r\n"},
        {"other lines keep their LF, CR and blanks", "[a]\nx = 1 \r  [b]\ny=2\n", "b", "y", "3",
         "[a]\nx = 1 \r  [b]\ny=3\r\n"},
        {"names trimmed, and the value's leading blanks", "[s]\r\n", " s ", "\tk ", "  v  ", "[s]\r\nk=v  \r\n"},
        {"Japanese in code page 932", "", "表", "ソ", "値×", "[\x95\x5c]\r\n\x83\x5c=\x92l\x81~\r\n"},
        {"lines that are not code page 932 keep their bytes", "[s]\r\nk=1\r\nn=\x80\r\n\x82", "s", "k", "2",
         "[s]\r\nk=2\r\nn=\x80\r\n\x82"},
        {"... and a lone lead byte at the end gets a line end", "k=\x82", "t", "k", "2", "k=\x82\r\n[t]\r\nk=2\r\n"},
        {"stray text outside any line layout stays", "\0\0\0"s, "s", "k", "v", "\0\0\0\r\n[s]\r\nk=v\r\n"s},
    };
    for (const auto& [what, before, section, key, value, after] : cases) {
        fs.put(kIni, before);
        EXPECT_TRUE(settings.writeString(section, key, value)) << what;
        EXPECT_EQ(fs.content(kIni), after) << what;
    }
}

TEST_F(SettingsFileTest, RefusedWritesLeaveTheFileAlone) {
    const std::string good = "[s]\r\nk=1\r\n";
    const std::tuple<const char*, std::string, std::string, std::string> cases[] = {
        {"a value code page 932 cannot hold", good, "k", "caf\xc3\xa9"},
        {"text that is not UTF-8", good, "k", "\xff"},
        {"a line break in the value", good, "k", "a\r\nb=2"},
        {"a NUL in the key", good, "k\0x"s, "1"},
        {"'=' in the key", good, "x=y", "1"},
        {"a key that reads as a header", good, "[z]", "1"},
    };
    for (const auto& [what, before, key, value] : cases) {
        fs.put(kIni, before);
        EXPECT_FALSE(settings.writeString("s", key, value)) << what;
        EXPECT_EQ(fs.content(kIni), before) << what;
    }
    fs.markUnreadable(kIni);  // a locked file is not replaced by one made from nothing
    EXPECT_FALSE(settings.writeString("s", "k", "2"));
    EXPECT_EQ(fs.writeCount(), 0);
}

TEST_F(SettingsFileTest, AFailedReplaceIsReportedAndAnUnchangedValueIsNotWritten) {
    fs.put(kIni, "[s]\r\nk=1\r\n");
    fs.failWrites(1);
    EXPECT_FALSE(settings.writeString("s", "k", "2"));
    EXPECT_EQ(fs.content(kIni), "[s]\r\nk=1\r\n");
    const int writes = fs.writeCount();
    EXPECT_TRUE(settings.writeString("S", "K", "1"));
    EXPECT_EQ(fs.writeCount(), writes);
}

TEST(SettingsFuzzCorpusTest, EveryCorpusAndRegressionFileKeepsTheProperties) {
    const std::filesystem::path root(KOLVI_FUZZ_CORPUS);
    int replayed = 0;
    for (const auto& dir : {root / "settings", root.parent_path() / "regressions" / "settings"}) {
        if (!std::filesystem::is_directory(dir)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            EXPECT_EQ(fuzzcheck::checkSettingsFile(bytes), "") << entry.path();
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "no seed files under " << root / "settings";
}

}  // namespace
}  // namespace kolvi
