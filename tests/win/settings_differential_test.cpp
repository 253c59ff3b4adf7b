// The settings file against the system's own private-profile functions: the
// same bytes on disk, the same questions, the same answers.
//
// What is compared, and what is not:
//  - Reading: strings and integers on ASCII files, always;
//    Japanese names and values only when the ANSI code page is 932, because the
//    W functions decode a file without BOM in the ANSI code page.
//  - Integers only in the range of int and written in decimal: the system
//    wraps larger numbers around and also takes "0x"/"0o"/"0b" prefixes, where
//    we saturate and read decimal only.
//  - Lines that are not valid code page 932: the system substitutes
//    characters, we give the default; not compared.
//  - Writing: the bytes of whole files, only for files already in the layout
//    the system writes (CR LF, "key=value", no blank lines), because Wine
//    rewrites the whole file in that layout, while Windows keeps other lines
//    as they are, as we do. For other layouts the system reads our result back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "settings/settings_file.h"
#include "support/win_files.h"

namespace kolvi::test {
namespace {

using namespace std::string_literals;
using win32::narrow;
using win32::widen;
using Query = std::pair<std::string, std::string>;  // section, key (UTF-8)

constexpr wchar_t kDefaultW[] = L"<default>";
constexpr char kDefault[] = "<default>";
constexpr int kIntDefault = -77;

class SettingsDifferentialTest : public ::testing::Test {
protected:
    // Every case gets a file name of its own, so that the system's cache of
    // profile files never answers from an older file.
    std::string freshFile(const std::string& bytes) {
        const std::string path = dir.file("case" + std::to_string(next++) + ".ini");
        writeRaw(path, bytes);
        return path;
    }

    static std::string systemString(const std::string& path, const Query& q, DWORD bufferSize = 1024) {
        std::wstring buffer(bufferSize, L'\0');
        const DWORD n = GetPrivateProfileStringW(widen(q.first).c_str(), widen(q.second).c_str(), kDefaultW,
                                                 buffer.data(), bufferSize, widen(path).c_str());
        buffer.resize(n);
        return narrow(buffer);
    }

    static int systemInt(const std::string& path, const Query& q) {
        return static_cast<int>(GetPrivateProfileIntW(widen(q.first).c_str(), widen(q.second).c_str(), kIntDefault,
                                                      widen(path).c_str()));
    }

    static bool systemWrite(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& value) {
        const std::wstring file = widen(path);
        const BOOL ok = WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(value).c_str(),
                                                   file.c_str());
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());  // flush the cache to disk
        return ok != FALSE;
    }

    // Asks both sides every query on the file; ints too when asked.
    void compareReads(const char* what, const std::string& bytes, const std::vector<Query>& queries,
                      bool compareInts) {
        const std::string path = freshFile(bytes);
        SettingsFile ours(fs, codec, path);
        for (const Query& q : queries) {
            SCOPED_TRACE(std::string(what) + ": [" + q.first + "] " + q.second);
            EXPECT_EQ(ours.readString(q.first, q.second, kDefault), systemString(path, q));
            if (compareInts) {
                EXPECT_EQ(ours.readInt(q.first, q.second, kIntDefault), systemInt(path, q));
            }
        }
    }

    TempDir dir;
    win32::Win32FileSystem fs;
    win32::Win32Codec codec;
    int next = 0;
};

TEST_F(SettingsDifferentialTest, AsciiFilesReadAlike) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<Query> queries;
    };
    const Case cases[] = {
        {"case and duplicates", "[Sec]\r\nKey=first\r\nkey=second\r\n[sec]\r\nKey=hidden\r\nother=hidden\r\n",
         {{"sec", "key"}, {"SEC", "KEY"}, {"sec", "other"}, {"sec", "none"}, {"none", "key"}, {" Sec\t", " Key "}}},
        {"blanks, ';' and lines without '='",
         "[s]\r\n;c=1\r\n#h=2\r\nbare\r\n bare2 \r\n=empty\r\nk= \r\n\tt\t=\tv\t\r\nz=\x1az\x0b\x0c\r\nbare=5\r\n"
         "n=\xa0n\xa0\r\n",
         {{"s", ";c"}, {"s", "#h"}, {"s", "bare"}, {"s", "bare2"}, {"s", ""}, {"s", "k"}, {"s", "t"}, {"s", "z"}}},
        {"quotes", "[q]\r\na=\"x y\"\r\nb='x'\r\nc=\"x\r\nd=\"x'\r\ne=\" x \"\r\nf=\"\"\r\ng=\"\r\nh= \"q\" \r\n"
                   "i=\"a\"b\"\r\nj=x\"y\"\r\n",
         {{"q", "a"}, {"q", "b"}, {"q", "c"}, {"q", "d"}, {"q", "e"}, {"q", "f"}, {"q", "g"}, {"q", "h"}, {"q", "i"},
          {"q", "j"}}},
        {"keys outside sections", "top=1\r\n[a]\r\nx=2\r\n[]\r\nk=6\r\n",
         {{"", "top"}, {"a", "top"}, {"a", "x"}, {"", "k"}, {" ", "top"}}},
        {"header forms",
         "  [ A ]  \r\nk=1\r\n[B]junk\r\nk=2\r\n[C\r\nnew=3\r\n[D]]\r\nk=4\r\n[E]x]\r\nk=5\r\nx[F]\r\nk=7\r\n\t[G]\r\nk=8\r\n"
         "[z]=2\r\nk=9\r\n",
         {{"A", "k"}, {"B", "k"}, {"B", "new"}, {"C", "new"}, {"[C", "new"}, {"D", "k"}, {"D]", "k"}, {"E", "k"},
          {"E]x", "k"}, {"G", "k"}, {"A", "x[F]"}, {"z", "k"}, {"z]=2", "k"}}},
        {"line ends", "[l]\na=1\nb=2\rc=3\r\r\nd=4\r\n\re=5",
         {{"l", "a"}, {"l", "b"}, {"l", "c"}, {"l", "d"}, {"l", "e"}}},
        {"NUL bytes", "[n]\r\na=1\0x\r\nb\0c=2\r\n[x\0]\r\nc=3\r\n"s,
         {{"n", "a"}, {"n", "b"}, {"x", "c"}, {"n", "c"}}},
        {"integers", "[i]\r\na=12abc\r\nb=-5\r\nc=+-1\r\nd=\"  42\"\r\ne=\r\nf=-2147483648\r\ng=1e3\r\nbare\r\n",
         {{"i", "a"}, {"i", "b"}, {"i", "c"}, {"i", "d"}, {"i", "e"}, {"i", "f"}, {"i", "g"}, {"i", "bare"}}},
        {"empty file", "", {{"s", "k"}, {"", ""}}},
    };
    for (const Case& c : cases) compareReads(c.what, c.bytes, c.queries, true);

    // A file that does not exist.
    SettingsFile ours(fs, codec, dir.file("missing.ini"));
    EXPECT_EQ(ours.readString("list", "lastopen", kDefault), systemString(dir.file("missing.ini"), {"list", "lastopen"}));
    EXPECT_EQ(ours.readInt("time", "interval", kIntDefault), systemInt(dir.file("missing.ini"), {"time", "interval"}));
}

TEST_F(SettingsDifferentialTest, JapaneseReadsAlikeInCodePage932) {
    if (GetACP() != 932) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 932";
    // 表 and ソ end in 0x5C, ア in 'A', ー in '[', ‐ in ']'; Ａ is a full-width letter.
    const std::string bytes =
        "[\x95\x5c]\r\n\x83\x5c=\x95\x5c\x8e\xa6\r\nk=\x81\x40v\x81\x40\r\n\x81\x5b=\x83\x41\r\n"
        "[\x83\x41]\r\nk=1\r\n[\x82\x60]\r\nk=2\r\n[s]\r\n[x\x81\x5d\r\nk=3\r\n";
    compareReads("Japanese", bytes,
                 {{"表", "ソ"}, {"表", "k"}, {"表", "ー"}, {"ア", "k"}, {"ヂ", "k"}, {"Ａ", "k"}, {"ａ", "k"}, {"s", "k"}},
                 true);
}

struct WriteCase {
    const char* what;
    std::string bytes;  // ASCII, unless the code page is 932
    std::string section, key, value;
};

TEST_F(SettingsDifferentialTest, WritesGiveTheSameBytes) {
    const std::string two = "[a]\r\nx=1\r\n[b]\r\ny=2\r\n";
    std::vector<WriteCase> cases = {
        {"a new key in the first section", two, "a", "new", "v"},
        {"a changed key, asked in another case", two, "A", "X", "changed"},
        {"a new section", two, "c", "k", "v"},
        {"blanks around the value", two, "a", "x", "  v  "},
        {"a new key in the first of two sections", "[a]\r\nx=1\r\n[a]\r\nx=2\r\n", "a", "y", "3"},
        {"a line without '='", "[s]\r\nbare\r\nx=1\r\n", "s", "bare", "7"},
        {"a new section after no line end", "[s]\r\nk=1", "t", "j", "7"},
        {"an empty file", "", "list", "lastopen", "a.alm"},
        {"the unnamed section", "top=1\r\n[a]\r\nx=1\r\n", "", "new", "2"},
        {"quotes are written as given", two, "a", "q", "\"quoted\""},
    };
    if (GetACP() == 932) {
        cases.push_back({"Japanese", "[\x95\x5c]\r\n\x83\x5c=1\r\n", "表", "ソ", "表示×"});
        cases.push_back({"a Japanese section", two, "アラーム", "キー", "値"});
    }
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string oursPath = freshFile(c.bytes);
        const std::string systemPath = freshFile(c.bytes);
        SettingsFile ours(fs, codec, oursPath);
        EXPECT_TRUE(ours.writeString(c.section, c.key, c.value));
        EXPECT_TRUE(systemWrite(systemPath, c.section, c.key, c.value));
        EXPECT_EQ(readRaw(oursPath), readRaw(systemPath));
    }

    // A file that does not exist yet.
    SettingsFile ours(fs, codec, dir.file("new-ours.ini"));
    EXPECT_TRUE(ours.writeInt("window", "left", -1200));
    EXPECT_TRUE(systemWrite(dir.file("new-system.ini"), "window", "left", "-1200"));
    EXPECT_EQ(readRaw(dir.file("new-ours.ini")), readRaw(dir.file("new-system.ini")));
}

// Where Wine would rewrite the layout, the system still reads what we wrote.
TEST_F(SettingsDifferentialTest, TheSystemReadsWhatWeWrite) {
    const std::string bytes =
        "; settings\r\n\r\n  [ Window ]  \r\n  Left = -20  \r\nLEFT=5\r\n\r\n[list]\nlastopen = \"old.alm\" \n\n"
        "[window]\r\nhidden=1\r\n";
    const std::vector<Query> others = {
        {"window", "left"}, {"window", "hidden"}, {"list", "lastopen"}, {"", "; settings"}};
    const struct {
        std::string section, key, value;
    } writes[] = {{"window", "left", "1200"}, {"window", "top", "0"}, {"list", "lastopen", "new.alm"},
                  {"statusbar", "visible", "1"}};
    for (const auto& w : writes) {
        SCOPED_TRACE(w.section + "/" + w.key);
        const std::string before = freshFile(bytes);
        const std::string after = freshFile(bytes);
        SettingsFile ours(fs, codec, after);
        ASSERT_TRUE(ours.writeString(w.section, w.key, w.value));
        EXPECT_EQ(systemString(after, {w.section, w.key}), w.value);
        for (const Query& q : others) {
            if (q.first == w.section && q.second == w.key) continue;
            EXPECT_EQ(systemString(after, q), systemString(before, q)) << q.first << "/" << q.second;
        }
    }
}

}  // namespace
}  // namespace kolvi::test
