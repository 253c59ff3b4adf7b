#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <tuple>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using namespace std::string_literals;

constexpr const char* kIni = "C:\\prog\\kolvialarm.ini";
constexpr const char* kDefault = "<default>";

// Round trips, the one-line rule and reads that never fail are checked over
// every input of the settings fuzzer's corpus; here are only the exact texts
// and bytes, and what the system's reader (the differential test) cannot be
// asked.
class SettingsFileTest : public ::testing::Test {
protected:
    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, kIni};
};

// Code page 932 line by line: trail bytes that look like ASCII (\, A, ]) do
// not count; full-width letters and the full-width space are no ASCII; a
// stray byte spoils only its own line (an invalid header still ends a
// section); a query the code page cannot hold finds nothing; only the first
// '=' splits. A missing or unreadable file gives the default.
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
        fs.put(kIni, "[i]\r\nv="s + value + "\r\n");
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

// Where a new key goes, and the bytes a write gives.
TEST_F(SettingsFileTest, WritesChangeOrAddOnlyTheOneLine) {
    const std::tuple<const char*, std::string, std::string, std::string, std::string, std::string> cases[] = {
        // what, before (code page 932), section, key, value, after
        {"a new key after the section's last line, before its blank lines", "[a]\r\nx=1\r\n; n\r\nbare\r\n\r\n[b]\r\n",
         "a", "z", "3", "[a]\r\nx=1\r\n; n\r\nbare\r\nz=3\r\n\r\n[b]\r\n"},
        {"the unnamed section, after its keys", "; head\r\n\r\n[s]\r\n", "", "j", "7", "; head\r\nj=7\r\n\r\n[s]\r\n"},
        {"names trimmed, and the value's leading blanks", "[s]\r\n", " s ", "\tk ", "  v  ", "[s]\r\nk=v  \r\n"},
        {"Japanese in code page 932", "", "表", "ソ", "値×", "[\x95\x5c]\r\n\x83\x5c=\x92l\x81~\r\n"},
        {"lines that are not code page 932 keep their bytes", "[s]\r\nk=1\r\nn=\x80\r\n\x82", "s", "k", "2",
         "[s]\r\nk=2\r\nn=\x80\r\n\x82"},
        {"... and a lone lead byte at the end gets a line end", "k=\x82", "t", "k", "2", "k=\x82\r\n[t]\r\nk=2\r\n"},
    };
    for (const auto& [what, before, section, key, value, after] : cases) {
        fs.put(kIni, before);
        EXPECT_TRUE(settings.writeString(section, key, value)) << what;
        EXPECT_EQ(fs.content(kIni), after) << what;
    }
}

// A refused write leaves the file alone; a failed replace is reported; a
// locked file is not replaced by one made from nothing; an unchanged value is
// not written at all.
TEST_F(SettingsFileTest, RefusedAndFailedWritesLeaveTheFileAlone) {
    const std::string good = "[s]\r\nk=1\r\n";
    const std::pair<std::string, std::string> refused[] = {
        {"k", "caf\xc3\xa9"}, {"k", "\xff"}, {"k", "a\r\nb=2"},  // not code page 932, not UTF-8, a line break
        {"k\0x"s, "1"},       {"x=y", "1"},  {"[z]", "1"},       // a NUL, '=', a key that reads as a header
    };
    for (const auto& [key, value] : refused) {
        fs.put(kIni, good);
        EXPECT_FALSE(settings.writeString("s", key, value)) << key << "=" << value;
        EXPECT_EQ(fs.content(kIni), good) << key << "=" << value;
    }
    fs.failWrites(1);
    EXPECT_FALSE(settings.writeString("s", "k", "2"));
    EXPECT_EQ(fs.content(kIni), good);
    const int writes = fs.writeCount();
    EXPECT_TRUE(settings.writeString("S", "K", "1"));
    fs.markUnreadable(kIni);
    EXPECT_FALSE(settings.writeString("s", "k", "2"));
    EXPECT_EQ(fs.writeCount(), writes);
}

}  // namespace
}  // namespace kolvi
