#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/posix/iconv_codec.h"
#include "settings/profile_text.h"
#include "support/memory_file_system.h"
#include "support/settings_check.h"

namespace kolvi {
namespace {

using namespace std::string_literals;

constexpr const char* kIni = "C:\\prog\\kolvialarm.ini";
constexpr const char* kDefault = "<default>";

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFile& withFile(std::string bytes) {
        fs.put(kIni, std::move(bytes));
        return settings;
    }
    std::string file() const { return fs.content(kIni); }

    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, kIni};
};

struct ReadCase {
    const char* what;
    std::string file;  // code page 932 bytes
    std::string section, key;
    std::string expected;
};

TEST_F(SettingsFileTest, ReadsStringsWithTheProfileRules) {
    const std::string dup = "[Sec]\r\nKey=first\r\nkey=second\r\n[sec]\r\nKey=hidden\r\nother=hidden\r\n";
    const std::string quotes = "[q]\r\na=\"x y\"\r\nb='x'\r\nc=\"x\r\nd=\"x'\r\ne=\" x \"\r\nf=\"\"\r\ng=\"a\"b\"\r\n";
    const ReadCase cases[] = {
        {"names ignore ASCII case", dup, "SEC", "KEY", "first"},
        {"a repeated section is never searched", dup, "sec", "other", kDefault},
        {"missing key", dup, "sec", "none", kDefault},
        {"missing section", dup, "none", "key", kDefault},
        {"queries are trimmed", dup, " Sec\t", " Key ", "first"},
        {"names and values are trimmed", "  [ A ]  \r\n \t spaced \t= \x0b v a l \x0c\x1a\r\n", "a", "spaced", "v a l"},
        {"only the first '=' splits", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
        {"a line without '=' hides a later key", "[s]\r\nbare\r\nbare=5\r\n", "s", "bare", kDefault},
        {"';' starts a key, not a comment", "[s]\r\n;c=1\r\n", "s", ";c", "1"},
        {"a key before any header is in the unnamed section", "top=1\r\n[a]\r\nx=2\r\n", "", "top", "1"},
        {"... and in no named one", "top=1\r\n[a]\r\nx=2\r\n", "a", "top", kDefault},
        {"an empty key name", "[s]\r\n=v\r\n", "s", "", "v"},
        {"a \"[]\" section is not the unnamed one", "[]\r\nk=6\r\n", "", "k", kDefault},
        {"text after ']' is ignored", "[B]junk\r\nk=2\r\n", "b", "k", "2"},
        {"the name ends at the last ']'", "[E]x]\r\nk=5\r\n", "E]x", "k", "5"},
        {"'[' without ']' is a key line", "[B]\r\n[C\r\nnew=3\r\n", "B", "new", "3"},
        {"LF and lone CR end lines too", "[l]\na=1\rb=2\r\r\nc=3", "l", "c", "3"},
        {"a NUL ends a value", "[n]\r\na=1\0x\r\n"s, "n", "a", "1"},
        {"a NUL ends a name", "[n]\r\nb\0c=2\r\n"s, "n", "b", "2"},
        {"quotes around the value go", quotes, "q", "a", "x y"},
        {"single quotes too", quotes, "q", "b", "x"},
        {"an unmatched quote stays", quotes, "q", "c", "\"x"},
        {"different quotes stay", quotes, "q", "d", "\"x'"},
        {"blanks inside quotes stay", quotes, "q", "e", " x "},
        {"empty quotes", quotes, "q", "f", ""},
        {"only the outer quotes go", quotes, "q", "g", "a\"b"},
        // Code page 932: trail bytes that look like ASCII must not matter.
        {"trail byte 0x5C in names and value", "[\x95\x5c]\r\n\x83\x5c=\x95\x5c\x8e\xa6\r\n", "表", "ソ", "表示"},
        {"a trail byte is no letter to fold", "[\x83\x41]\r\nk=1\r\n", "ヂ", "k", kDefault},
        {"full-width letters keep their case", "[\x82\x60]\r\nk=1\r\n", "ａ", "k", kDefault},
        {"a trail byte is no ']'", "[s]\r\n[x\x81\x5d\r\nk=1\r\n", "s", "k", "1"},
        {"the full-width space is not a blank", "[s]\r\nk=\x81\x40v\x81\x40\r\n", "s", "k", "\u3000v\u3000"},
        // A stray byte spoils only its own line.
        {"an invalid line reads as the default", "[a]\r\nv=1\x80\r\nz=2\r\n", "a", "v", kDefault},
        {"lines after an invalid one still read", "[a]\r\nv=1\x80\r\nz=2\r\n", "a", "z", "2"},
        {"an invalid header is still a header", "[b\x80]\r\nz=1\r\n", "a", "z", kDefault},
        {"a query code page 932 cannot hold finds nothing", "[a]\r\n?=1\r\n", "a", "\xF0\x9F\x98\x80", kDefault},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(withFile(c.file).readString(c.section, c.key, kDefault), c.expected) << c.what;
    }
}

TEST_F(SettingsFileTest, MissingOrUnreadableFileGivesTheDefaults) {
    EXPECT_EQ(settings.readString("list", "lastopen", "x"), "x");
    EXPECT_EQ(settings.readInt("time", "interval", 250), 250);
    fs.put(kIni, "[time]\r\ninterval=100\r\n");
    fs.markUnreadable(kIni);
    EXPECT_EQ(settings.readInt("time", "interval", 250), 250);
}

TEST_F(SettingsFileTest, ReadsIntegersFromTheStartOfTheValue) {
    struct Case {
        const char* value;
        int expected;
    };
    const Case cases[] = {
        {"42", 42},          {"12abc", 12},       {"-5", -5},          {"+7", 7},
        {"abc", 0},          {"- 5", 0},          {"+-1", 0},
        {"\"12\"", 12},      {"\" -4\"", -4},     {"\x82\x50", 0},  // full-width 1 is not a digit
        {"2147483647", INT_MAX},                  {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},                  {"-2147483649", INT_MIN},
        {"99999999999999999999999", INT_MAX},     {"-99999999999999999999999", INT_MIN},
        // Missing or empty: the default.
        {"", 99},            {"   ", 99},         {"\"\"", 99},
    };
    for (const Case& c : cases) {
        withFile(std::string("[i]\r\nv=") + c.value + "\r\n");
        EXPECT_EQ(settings.readInt("i", "v", 99), c.expected) << c.value;
    }
    EXPECT_EQ(withFile("[i]\r\nbare\r\n").readInt("i", "bare", 99), 99);
    EXPECT_EQ(withFile("[i]\r\nv=12\x80\r\n").readInt("i", "v", 99), 99);
}

TEST_F(SettingsFileTest, LongValuesAreCutAtWholeCharacters) {
    struct Case {
        std::string value;  // code page 932
        std::size_t maxBytes;
        std::string expected;
    };
    const std::string a254(254, 'a');
    const Case cases[] = {
        {a254, 254, a254},
        {a254 + "b", 254, a254},
        {"abc", 0, ""},
        {"\x82\xa0\x82\xa2\x82\xa4", 5, "あい"},     // never half of う
        {"\x82\xa0\x82\xa2\x82\xa4", 6, "あいう"},
        {"a\x95\x5c", 2, "a"},                       // not the lead byte of 表
        {"\xb1\xb2\x82\xa0", 3, "ｱｲ"},               // half-width kana are one byte
    };
    for (const Case& c : cases) {
        withFile("[s]\r\nv=" + c.value + "\r\n");
        EXPECT_EQ(settings.readString("s", "v", kDefault, c.maxBytes), c.expected) << c.maxBytes;
    }
    // 254 bytes are read by default; a Japanese value is cut before a character that would straddle.
    std::string kana;
    for (int i = 0; i < 200; ++i) kana += "\x82\xa0";
    withFile("[s]\r\nv=x" + kana + "\r\n");
    const std::string read = settings.readString("s", "v", kDefault);
    EXPECT_EQ(codec.encode(read)->size(), 253u);
}

struct WriteCase {
    const char* what;
    std::string before;  // code page 932 bytes
    std::string section, key, value;
    std::string after;
};

TEST_F(SettingsFileTest, WritesChangeOrAddOnlyTheOneLine) {
    const std::string two = "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n";
    const WriteCase cases[] = {
        {"replaces a value, keeping the key's spelling", "[a]\r\n  X = 1 \r\n[b]\r\n", "A", "x", "9",
         "[a]\r\nX=9\r\n[b]\r\n"},
        {"only the first of two equal keys", "[a]\r\nx=1\r\nX=2\r\n", "a", "x", "3", "[a]\r\nx=3\r\nX=2\r\n"},
        {"in the first of two equal sections", "[a]\r\nx=1\r\n[a]\r\ny=2\r\n", "a", "y", "3",
         "[a]\r\nx=1\r\ny=3\r\n[a]\r\ny=2\r\n"},
        {"a new key follows the section's last line, before the blank lines", two, "a", "new", "v",
         "[a]\r\nx=1\r\nnew=v\r\n\r\n[b]\r\ny=2\r\n"},
        {"... also after ';' lines and lines without '='", "[a]\r\nx=1\r\n; note\r\nbare\r\n\r\n[b]\r\n", "a",
         "z", "3", "[a]\r\nx=1\r\n; note\r\nbare\r\nz=3\r\n\r\n[b]\r\n"},
        {"a line without '=' gets the value", "[s]\r\nbare\r\nx=1\r\n", "s", "bare", "7",
         "[s]\r\nbare=7\r\nx=1\r\n"},
        {"a key in an empty section", "[s]\r\n[t]\r\n", "s", "k", "7", "[s]\r\nk=7\r\n[t]\r\n"},
        {"the last line gets its missing line end", "[s]\r\nk=1", "s", "j", "7", "[s]\r\nk=1\r\nj=7\r\n"},
        {"a new section goes at the end", two, "c", "k", "v", two + "[c]\r\nk=v\r\n"},
        {"... after a missing line end", "x", "c", "k", "v", "x\r\n[c]\r\nk=v\r\n"},
        {"an empty file", "", "list", "lastopen", "a.alm", "[list]\r\nlastopen=a.alm\r\n"},
        {"the unnamed section, at the top", "[s]\r\nk=1\r\n", "", "top", "2", "top=2\r\n[s]\r\nk=1\r\n"},
        {"the unnamed section, after its keys", "; head\r\n\r\n[s]\r\n", "", "j", "7",
         "; head\r\nj=7\r\n\r\n[s]\r\n"},
        {"other lines keep their LF, CR and blanks", "[a]\nx = 1 \r  [b]\ny=2\n", "b", "y", "3",
         "[a]\nx = 1 \r  [b]\ny=3\r\n"},
        {"leading blanks of the value go, trailing ones stay", "[s]\r\n", "s", "k", "  v  ", "[s]\r\nk=v  \r\n"},
        {"names are trimmed", "[s]\r\n", " s ", "\tk ", "v", "[s]\r\nk=v\r\n"},
        {"an empty value", "[s]\r\nk=1\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
        {"Japanese in code page 932", "[a]\r\nx=1\r\n", "表", "ソ", "値×", "[a]\r\nx=1\r\n[\x95\x5c]\r\n\x83\x5c=\x92l\x81~\r\n"},
        {"stray text outside any line layout stays", "\0\0\0"s, "s", "k", "v", "\0\0\0\r\n[s]\r\nk=v\r\n"s},
    };
    for (const WriteCase& c : cases) {
        fs.put(kIni, c.before);
        EXPECT_TRUE(settings.writeString(c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(file(), c.after) << c.what;
    }
}

TEST_F(SettingsFileTest, WritingCreatesAMissingFile) {
    ASSERT_TRUE(settings.writeInt("window", "left", -1200));
    ASSERT_TRUE(settings.writeInt("window", "width", 9000000000LL));
    ASSERT_TRUE(settings.writeString("list", "lastopen", "アラーム.alm"));
    EXPECT_EQ(file(), "[window]\r\nleft=-1200\r\nwidth=9000000000\r\n[list]\r\nlastopen=\x83\x41\x83\x89\x81\x5b\x83\x80.alm\r\n");
    EXPECT_EQ(settings.readInt("window", "left", 0), -1200);
    EXPECT_EQ(settings.readString("list", "lastopen", ""), "アラーム.alm");
}

TEST_F(SettingsFileTest, RefusedWritesLeaveTheFileAlone) {
    struct Case {
        const char* what;
        std::string before;
        std::string section, key, value;
    };
    const std::string good = "[s]\r\nk=1\r\n";
    const Case cases[] = {
        {"a byte that is not code page 932", "[s]\r\nk=1\r\nname=\x80\r\n", "s", "k", "2"},
        {"a lone lead byte", "[s]\r\nk=1\r\n\x82", "t", "k", "2"},
        {"a value code page 932 cannot hold", good, "s", "k", "caf\xc3\xa9"},
        {"text that is not UTF-8", good, "s", "k", "\xff"},
        {"a line break in the value", good, "s", "k", "a\r\nb=2"},
        {"a NUL in the key", good, "s", "k\0x"s, "1"},
        {"'=' in the key", good, "s", "x=y", "1"},
        {"a key that reads as a header", good, "s", "[z]", "1"},
    };
    for (const Case& c : cases) {
        fs.put(kIni, c.before);
        const int writes = fs.writeCount();
        EXPECT_FALSE(settings.writeString(c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(fs.writeCount(), writes) << c.what;
        EXPECT_EQ(file(), c.before) << c.what;
    }
    // A locked file is not replaced by one made from nothing.
    fs.put(kIni, good);
    fs.markUnreadable(kIni);
    EXPECT_FALSE(settings.writeString("s", "k", "2"));
    EXPECT_EQ(fs.writeCount(), 0);
}

TEST_F(SettingsFileTest, AFailedReplaceIsReportedAndAnUnchangedValueIsNotWritten) {
    fs.put(kIni, "[s]\r\nk=1\r\n");
    fs.failWrites(1);
    EXPECT_FALSE(settings.writeString("s", "k", "2"));
    EXPECT_EQ(file(), "[s]\r\nk=1\r\n");
    const int writes = fs.writeCount();
    EXPECT_TRUE(settings.writeString("S", "K", "1"));
    EXPECT_EQ(fs.writeCount(), writes);
    EXPECT_TRUE(settings.writeString("s", "k", "2"));
    EXPECT_EQ(file(), "[s]\r\nk=2\r\n");
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
