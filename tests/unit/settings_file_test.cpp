#include "settings/settings_file.h"
#include "settings/safety_settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "support/memory_file_system.h"

namespace kolvi {
namespace {

constexpr const char* kDefault = "<default>";

// Round trips, the one-line rule and reads that never fail are checked over
// every input of the settings fuzzer's corpus; reads and writes that the
// system's own functions also give, by the differential test. Here what only
// we can be asked.
class SettingsFileTest : public ::testing::Test, protected test::ProgramFiles {};

// Code page 932 line by line: trail bytes that look like ASCII (\, A, ]) do
// not count; full-width letters and the full-width space are no ASCII; a
// stray byte spoils only its own line (an invalid header still ends a
// section); a query the code page cannot hold finds nothing; only the first
// '=' splits. Values are cut at whole characters (254 bytes unless asked);
// beyond int a number saturates, and a full-width digit is none. A locked
// file gives the default (a missing one does too, as every settings reader's
// test with no file shows).
TEST_F(SettingsFileTest, ReadsCodePage932FilesLineByLine) {
    fs.put(settings.path(),
           "[\x95\x5c]\r\n\x83\x5c=\x95\x5c\x8e\xa6\r\n[\x83\x41]\r\nk=1\r\n[\x82\x60]\r\nk=1\r\n[s]\r\n[x\x81\x5d\r\n"
           "k=\x81\x40v\x82\x9f\r\n[a]\r\nv=1\x80\r\n[b\x80]\r\nz=1\r\n[c]\r\nz=2\r\n?=3\r\ne=a=b\r\n"
           "[cut]\r\nkana=\x82\xa0\x82\xa2\x82\xa4\r\nsign=a\x95\x5c\r\nhalf=\xb1\xb2\x82\xa0\r\nlong=" +
               std::string(300, 'a') + "\r\n[i]\r\nbig=2147483648\r\nsmall=-2147483649\r\n"
                                       "huge=99999999999999999999999\r\nwide=\x82\x50\r\nbad=12\x80\r\n");
    const std::tuple<std::string, std::string, std::size_t, std::string> strings[] = {
        {"表", "ソ", 254, "表示"}, {"ヂ", "k", 254, kDefault}, {"ａ", "k", 254, kDefault}, {"s", "k", 254, "\u3000vぁ"},
        {"a", "v", 254, kDefault}, {"a", "z", 254, kDefault}, {"c", "z", 254, "2"},       {"c", "e", 254, "a=b"},
        {"c", "\xF0\x9F\x98\x80", 254, kDefault},  // a smiling face: no code page 932
        {"cut", "kana", 5, "あい"},  // never half of う
        {"cut", "sign", 2, "a"},     // nor the lead byte of 表
        {"cut", "half", 3, "ｱｲ"},    // half-width kana are one byte
    };
    for (const auto& [section, key, maxBytes, expected] : strings) {
        EXPECT_EQ(settings.readString(section, key, kDefault, maxBytes), expected) << "[" << section << "] " << key;
    }
    EXPECT_EQ(settings.readString("cut", "long", kDefault), std::string(254, 'a'));
    const std::pair<const char*, int> integers[] = {
        {"big", INT_MAX}, {"small", INT_MIN}, {"huge", INT_MAX}, {"wide", 0}, {"bad", 99}};
    for (const auto& [key, expected] : integers) EXPECT_EQ(settings.readInt("i", key, 99), expected) << key;
    fs.markUnreadable(settings.path());
    EXPECT_EQ(settings.readString("c", "z", kDefault), kDefault);
}

// A batch answers its reads from one reading of the file: a hand edit made
// during it is seen once it ends, a write through the settings at once.
TEST_F(SettingsFileTest, ABatchReadsTheFileOnceAndSeesItsOwnWrites) {
    fs.put(settings.path(), "[a]\r\nk=1\r\n");
    {
        const SettingsFile::ReadBatch batch(settings);
        EXPECT_EQ(settings.readInt("a", "k", 0), 1);
        fs.put(settings.path(), "[a]\r\nk=2\r\n");
        EXPECT_EQ(settings.readInt("a", "k", 0), 1);
        ASSERT_TRUE(settings.writeString("a", "j", "3"));
        EXPECT_EQ(settings.readInt("a", "j", 0), 3);
        EXPECT_EQ(settings.readInt("a", "k", 0), 2);
    }
    fs.put(settings.path(), "[a]\r\nk=4\r\n");
    EXPECT_EQ(settings.readInt("a", "k", 0), 4);
}

// Where a new key goes, and the bytes a write gives.
TEST_F(SettingsFileTest, WritesChangeOrAddOnlyTheOneLine) {
    const std::tuple<std::string, std::string, std::string, std::string, std::string> cases[] = {
        // before (code page 932), section, key, value, after
        // A new key after the section's last line, before its blank lines; in the unnamed section, after its keys.
        {"[a]\r\nx=1\r\n; n\r\nbare\r\n\r\n[b]\r\n", "a", "z", "3", "[a]\r\nx=1\r\n; n\r\nbare\r\nz=3\r\n\r\n[b]\r\n"},
        {"; head\r\n\r\n[s]\r\n", "", "j", "7", "; head\r\nj=7\r\n\r\n[s]\r\n"},
        // Names trimmed, and the value's leading blanks.
        {"[s]\r\n", " s ", "\tk ", "  v  ", "[s]\r\nk=v  \r\n"},
        {"", "表", "ソ", "値×", "[\x95\x5c]\r\n\x83\x5c=\x92l\x81~\r\n"},
        // Lines that are not code page 932 keep their bytes; a lone lead byte at the end gets a line end.
        {"[s]\r\nk=1\r\nn=\x80\r\n\x82", "s", "k", "2", "[s]\r\nk=2\r\nn=\x80\r\n\x82"},
        {"k=\x82", "t", "k", "2", "k=\x82\r\n[t]\r\nk=2\r\n"},
    };
    for (const auto& [before, section, key, value, after] : cases) {
        fs.put(settings.path(), before);
        EXPECT_TRUE(settings.writeString(section, key, value)) << after;
        EXPECT_EQ(fs.content(settings.path()), after);
    }
}

// A refused write leaves the file alone; a failed replace is reported; a
// locked file is not replaced by one made from nothing; an unchanged value is
// not written at all.
TEST_F(SettingsFileTest, RefusedAndFailedWritesLeaveTheFileAlone) {
    const std::string good = "[s]\r\nk=1\r\n";
    const std::pair<std::string, std::string> refused[] = {
        {"k", "caf\xc3\xa9"}, {"k", "\xff"}, {"k", "a\r\nb=2"},  // not code page 932, not UTF-8, a line break
        {{"k\0x", 3}, "1"},   {"x=y", "1"},  {"[z]", "1"},       // a NUL, '=', a key that reads as a header
    };
    for (const auto& [key, value] : refused) {
        fs.put(settings.path(), good);
        EXPECT_FALSE(settings.writeString("s", key, value)) << key << "=" << value;
        EXPECT_EQ(fs.content(settings.path()), good) << key << "=" << value;
    }
    fs.failWrites(1);
    EXPECT_FALSE(settings.writeString("s", "k", "2"));
    EXPECT_EQ(fs.content(settings.path()), good);
    const int writes = fs.writeCount();
    EXPECT_TRUE(settings.writeString("S", "K", "1"));
    fs.markUnreadable(settings.path());
    EXPECT_FALSE(settings.writeString("s", "k", "2"));
    EXPECT_EQ(fs.writeCount(), writes);
}

TEST(SafetySettings, DefaultsAndHandEditsBroughtIntoRange) {
    test::ProgramFiles files;
    const SettingsFile& settings = files.settings;
    EXPECT_FALSE(readWakeTimer(settings));
    EXPECT_EQ(readMissedGrace(settings), 0);
    EXPECT_EQ(readKeyGuardMs(settings), 500u);
    EXPECT_EQ(readActionDelay(settings), 30);
    EXPECT_TRUE(readShowNextAlarm(settings));
    files.fs.put(settings.path(), "[alarm]\r\nwake=1\r\nmissedgrace=999999\r\nkeyguard=0\r\nactiondelay=-10\r\n"
                                  "[window]\r\nshownext=2\r\n");
    EXPECT_TRUE(readWakeTimer(settings));
    EXPECT_EQ(readMissedGrace(settings), 86400);
    EXPECT_EQ(readKeyGuardMs(settings), 0u);
    EXPECT_EQ(readActionDelay(settings), 30);
    EXPECT_FALSE(readShowNextAlarm(settings));
}

}  // namespace
}  // namespace kolvi
