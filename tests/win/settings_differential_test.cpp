// The settings file against the system's own private-profile functions: the
// same bytes on disk, the same questions, the same answers.
//
// What is compared, and what is not:
//  - Reading: strings and integers on ASCII files, always; Japanese names and
//    values only when the ANSI code page is 932, because the W functions
//    decode a file without BOM in the ANSI code page.
//  - Integers only in the range of int and written in decimal: the system
//    wraps larger numbers around and also takes "0x"/"0o"/"0b" prefixes, where
//    we saturate and read decimal only.
//  - Lines that are not valid code page 932: the system substitutes
//    characters, we give the default; not compared.
//  - Writing: the bytes of whole files, only for files already in the layout
//    the system writes (CR LF, "key=value", no blank lines), because Wine
//    rewrites the whole file in that layout, while Windows keeps other lines
//    as they are, as we do. For other layouts the system reads our result back.
#include <gtest/gtest.h>

#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "settings/settings_file.h"
#include "support/win_files.h"

namespace kolvi::test {
namespace {

using namespace std::string_literals;
using win32::widen;

struct Query {
    std::string section, key;
};

class SettingsDifferentialTest : public ::testing::Test {
protected:
    // Every case gets a file of its own, so that the system's cache of
    // profile files never answers from an older one.
    std::string freshFile(const std::string& bytes) {
        const std::string path = dir_.file("case" + std::to_string(next_++) + ".ini");
        writeRaw(path, bytes);
        return path;
    }
    static std::string systemString(const std::string& path, const Query& q) {
        wchar_t buffer[1024] = {};
        const DWORD n = GetPrivateProfileStringW(widen(q.section).c_str(), widen(q.key).c_str(), L"<default>", buffer,
                                                 1024, widen(path).c_str());
        return win32::narrow(std::wstring_view(buffer, n));
    }
    SettingsFile ours(const std::string& path) { return SettingsFile(fs_, codec_, path); }

    TempDir dir_;
    win32::Win32FileSystem fs_;
    win32::Win32Codec codec_;
    int next_ = 0;
};

TEST_F(SettingsDifferentialTest, FilesReadAlike) {
    std::vector<std::pair<std::string, std::vector<Query>>> cases = {
        {"[Sec]\r\nKey=first\r\nkey=second\r\n[sec]\r\nKey=hidden\r\nother=hidden\r\n",  // case and duplicates
         {{"sec", "key"}, {"SEC", "KEY"}, {"sec", "other"}, {"sec", "none"}, {"none", "key"}, {" Sec\t", " Key "}}},
        {"[s]\r\n;c=1\r\n#h=2\r\nbare\r\n bare2 \r\n=empty\r\nk= \r\n\tt\t=\tv\t\r\nz=\x1az\x0b\x0c\r\nbare=5\r\nn=\xa0n\r\n",
         {{"s", ";c"}, {"s", "#h"}, {"s", "bare"}, {"s", "bare2"}, {"s", ""}, {"s", "k"}, {"s", "t"}, {"s", "z"}}},
        {"[q]\r\na=\"x y\"\r\nb='x'\r\nc=\"x\r\nd=\"x'\r\ne=\" x \"\r\nf=\"\"\r\ng=\"\r\nh= \"q\" \r\ni=\"a\"b\"\r\n",
         {{"q", "a"}, {"q", "b"}, {"q", "c"}, {"q", "d"}, {"q", "e"}, {"q", "f"}, {"q", "g"}, {"q", "h"}, {"q", "i"}}},
        {"top=1\r\n[a]\r\nx=2\r\n[]\r\nk=6\r\n", {{"", "top"}, {"a", "top"}, {"a", "x"}, {"", "k"}, {" ", "top"}}},
        {"  [ A ]  \r\nk=1\r\n[B]junk\r\nk=2\r\n[C\r\nnew=3\r\n[D]]\r\nk=4\r\n[E]x]\r\nk=5\r\nx[F]\r\n\t[G]\r\nk=8\r\n",
         {{"A", "k"}, {"B", "k"}, {"B", "new"}, {"C", "new"}, {"[C", "new"}, {"D", "k"}, {"D]", "k"}, {"E", "k"},
          {"E]x", "k"}, {"G", "k"}, {"A", "x[F]"}}},
        {"[l]\na=1\nb=2\rc=3\r\r\nd=4\r\n\re=5", {{"l", "a"}, {"l", "b"}, {"l", "c"}, {"l", "d"}, {"l", "e"}}},
        {"[n]\r\na=1\0x\r\nb\0c=2\r\n[x\0]\r\nc=3\r\n"s, {{"n", "a"}, {"n", "b"}, {"x", "c"}, {"n", "c"}}},
        {"[i]\r\na=12abc\r\nb=-5\r\nc=+-1\r\nd=\"  42\"\r\ne=\r\nf=-2147483648\r\ng=1e3\r\n",
         {{"i", "a"}, {"i", "b"}, {"i", "c"}, {"i", "d"}, {"i", "e"}, {"i", "f"}, {"i", "g"}}},
        {"", {{"s", "k"}, {"", ""}}},
    };
    // 表 and ソ end in 0x5C, ア in 'A', ー in '[', ‐ in ']'; Ａ is a full-width letter.
    if (GetACP() == 932) {
        cases.push_back({"[\x95\x5c]\r\n\x83\x5c=\x95\x5c\x8e\xa6\r\nk=\x81\x40v\x81\x40\r\n\x81\x5b=\x83\x41\r\n[\x83\x41]\r\n"
                         "k=1\r\n[\x82\x60]\r\nk=2\r\n[s]\r\n[x\x81\x5d\r\nk=3\r\n",
                         {{"表", "ソ"}, {"表", "k"}, {"表", "ー"}, {"ア", "k"}, {"ヂ", "k"}, {"Ａ", "k"}, {"ａ", "k"}, {"s", "k"}}});
    }
    for (const auto& [bytes, queries] : cases) {
        const std::string path = freshFile(bytes);
        for (const Query& q : queries) {
            SCOPED_TRACE(bytes + ": [" + q.section + "] " + q.key);
            EXPECT_EQ(ours(path).readString(q.section, q.key, "<default>"), systemString(path, q));
            EXPECT_EQ(ours(path).readInt(q.section, q.key, -77),
                      static_cast<int>(GetPrivateProfileIntW(widen(q.section).c_str(), widen(q.key).c_str(), -77,
                                                             widen(path).c_str())));
        }
    }
}

TEST_F(SettingsDifferentialTest, WritesGiveTheSameBytesAndTheSystemReadsWhatWeWrite) {
    const std::string two = "[a]\r\nx=1\r\n[b]\r\ny=2\r\n";
    std::vector<std::pair<std::string, std::vector<std::string>>> cases = {  // bytes, {section, key, value}
        {two, {"a", "new", "v"}}, {two, {"A", "X", "changed"}}, {two, {"c", "k", "v"}}, {two, {"a", "x", "  v  "}},
        {two, {"a", "q", "\"quoted\""}}, {"[a]\r\nx=1\r\n[a]\r\nx=2\r\n", {"a", "y", "3"}},
        {"[s]\r\nbare\r\nx=1\r\n", {"s", "bare", "7"}}, {"[s]\r\nk=1", {"t", "j", "7"}}, {"", {"list", "lastopen", "a.alm"}},
        {"top=1\r\n[a]\r\nx=1\r\n", {"", "new", "2"}}, {"<no file>", {"window", "left", "-1200"}},
    };
    if (GetACP() == 932) {
        cases.push_back({"[\x95\x5c]\r\n\x83\x5c=1\r\n", {"表", "ソ", "表示×"}});
        cases.push_back({two, {"アラーム", "キー", "値"}});
    }
    for (const auto& [bytes, w] : cases) {
        SCOPED_TRACE(bytes + " [" + w[0] + "] " + w[1]);
        const std::string mine = bytes == "<no file>" ? dir_.file("mine.ini") : freshFile(bytes);
        const std::string system = bytes == "<no file>" ? dir_.file("system.ini") : freshFile(bytes);
        EXPECT_TRUE(ours(mine).writeString(w[0], w[1], w[2]));
        const std::wstring file = widen(system);
        EXPECT_TRUE(WritePrivateProfileStringW(widen(w[0]).c_str(), widen(w[1]).c_str(), widen(w[2]).c_str(), file.c_str()));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());  // flush the cache to disk
        EXPECT_EQ(readRaw(mine), readRaw(system));
    }

    // Where Wine would rewrite the layout, the system still reads what we wrote.
    const std::string bytes = "; settings\r\n\r\n  [ Window ]  \r\n  Left = -20  \r\nLEFT=5\r\n\r\n[list]\nlastopen = \"old\" \n\n"
                              "[window]\r\nhidden=1\r\n";
    const std::vector<Query> all = {{"window", "left"}, {"window", "top"}, {"list", "lastopen"}, {"statusbar", "visible"},
                                    {"window", "hidden"}, {"", "; settings"}};
    for (std::size_t written = 0; written < 4; ++written) {
        const std::string before = freshFile(bytes), after = freshFile(bytes);
        ASSERT_TRUE(ours(after).writeString(all[written].section, all[written].key, "1200"));
        for (std::size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(systemString(after, all[i]), i == written ? "1200" : systemString(before, all[i]))
                << all[written].key << " written, " << all[i].key << " read";
        }
    }
}

}  // namespace
}  // namespace kolvi::test
