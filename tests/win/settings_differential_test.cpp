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

#include <array>
#include <tuple>

#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "settings/settings_file.h"
#include "support/win_files.h"

namespace kolvi::test {
namespace {

using namespace std::string_literals;
using win32::widen;

TEST(SettingsDifferentialTest, OurReaderAndWriterAgreeWithTheSystemsProfileFunctions) {
    TempDir dir;
    win32::Win32FileSystem fs;
    win32::Win32Codec codec;
    int next = 0;
    const auto fresh = [&](const std::string& bytes) {  // a file of its own, never one the system has cached
        const std::string path = dir.file("case" + std::to_string(next++) + ".ini");
        writeRaw(path, bytes);
        return path;
    };
    const auto systemSays = [](const std::string& path, const std::string& section, const std::string& key) {
        const std::wstring s = widen(section), k = widen(key), file = widen(path);
        wchar_t text[1024] = {};
        const DWORD n = GetPrivateProfileStringW(s.c_str(), k.c_str(), L"<default>", text, 1024, file.c_str());
        return win32::narrow(std::wstring_view(text, n)) + "|" +
               std::to_string(static_cast<int>(GetPrivateProfileIntW(s.c_str(), k.c_str(), -77, file.c_str())));
    };

    // Every section asked with every key, as a string and as an integer.
    std::vector<std::tuple<std::string, std::vector<std::string>, std::vector<std::string>>> reads = {
        {"[Sec]\r\nKey=first\r\nkey=second\r\n[sec]\r\nKey=hidden\r\nother=hidden\r\n", {"sec", "SEC", " Sec\t", "x"},
         {"key", "KEY", " Key ", "other", "x"}},
        {"[s]\r\n;c=1\r\n#h=2\r\nbare\r\n bare2 \r\n=empty\r\nk= \r\n\tt\t=\tv\t\r\nz=\x1az\x0b\x0c\r\nbare=5\r\nn=\xa0n\r\n", {"s"},
         {";c", "#h", "bare", "bare2", "", "k", "t", "z"}},
        {"[q]\r\na=\"x y\"\r\nb='x'\r\nc=\"x\r\nd=\"x'\r\ne=\" x \"\r\nf=\"\"\r\ng=\"\r\nh= \"q\" \r\ni=\"a\"b\"\r\nj=x\"y\"\r\n",
         {"q"}, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
        {"top=1\r\n[a]\r\nx=2\r\n[]\r\nk=6\r\n", {"", " ", "a"}, {"top", "x", "k"}},
        {"  [ A ]  \r\nk=1\r\n[B]junk\r\nk=2\r\n[C\r\nnew=3\r\n[D]]\r\nk=4\r\n[E]x]\r\nk=5\r\nx[F]\r\nk=7\r\n\t[G]\r\nk=8\r\n",
         {"A", "B", "C", "[C", "D", "D]", "E", "E]x", "F", "G"}, {"k", "new", "x[F]"}},
        {"[l]\na=1\nb=2\rc=3\r\r\nd=4\r\n\re=5", {"l"}, {"a", "b", "c", "d", "e"}},
        {"[n]\r\na=1\0x\r\nb\0c=2\r\n[x\0]\r\nc=3\r\n"s, {"n", "x"}, {"a", "b", "c"}},
        {"[i]\r\na=12abc\r\nb=-5\r\nc=+-1\r\nd=\"  42\"\r\ne=\r\nf=-2147483648\r\ng=1e3\r\nbare\r\n", {"i"},
         {"a", "b", "c", "d", "e", "f", "g", "bare"}},
        {"", {"s", ""}, {"k", ""}},
    };
    if (GetACP() == 932) {  // 表 and ソ end in 0x5C, ア in 'A', ー in '[', ‐ in ']'; Ａ is a full-width letter
        reads.push_back({"[\x95\x5c]\r\n\x83\x5c=\x95\x5c\x8e\xa6\r\nk=\x81\x40v\x81\x40\r\n\x81\x5b=\x83\x41\r\n[\x83\x41]\r\n"
                         "k=1\r\n[\x82\x60]\r\nk=2\r\n[s]\r\n[x\x81\x5d\r\nk=3\r\n",
                         {"表", "ア", "ヂ", "Ａ", "ａ", "s"}, {"ソ", "k", "ー"}});
    }
    for (const auto& [bytes, sections, keys] : reads) {
        const std::string path = fresh(bytes);
        const SettingsFile ours(fs, codec, path);
        for (const std::string& section : sections) {
            for (const std::string& key : keys) {
                EXPECT_EQ(ours.readString(section, key, "<default>") + "|" + std::to_string(ours.readInt(section, key, -77)),
                          systemSays(path, section, key)) << bytes << ": [" << section << "] " << key;
            }
        }
    }

    // Writes give the same bytes.
    const std::string two = "[a]\r\nx=1\r\n[b]\r\ny=2\r\n";
    std::vector<std::array<std::string, 4>> writes = {  // file, section, key, value
        {two, "a", "new", "v"}, {two, "A", "X", "changed"}, {two, "c", "k", "v"}, {two, "a", "x", "  v  "},
        {two, "a", "q", "\"quoted\""}, {"[a]\r\nx=1\r\n[a]\r\nx=2\r\n", "a", "y", "3"}, {"[s]\r\nbare\r\nx=1\r\n", "s", "bare", "7"},
        {"[s]\r\nk=1", "t", "j", "7"}, {"", "list", "lastopen", "a.alm"}, {"top=1\r\n[a]\r\nx=1\r\n", "", "new", "2"},
        {"<no file>", "window", "left", "-1200"},
    };
    if (GetACP() == 932) writes.insert(writes.end(), {{"[\x95\x5c]\r\n\x83\x5c=1\r\n", "表", "ソ", "表示×"}, {two, "アラーム", "キー", "値"}});
    for (const auto& [bytes, section, key, value] : writes) {
        const std::string mine = bytes == "<no file>" ? dir.file("mine.ini") : fresh(bytes);
        const std::string theirs = bytes == "<no file>" ? dir.file("theirs.ini") : fresh(bytes);
        EXPECT_TRUE(SettingsFile(fs, codec, mine).writeString(section, key, value));
        EXPECT_TRUE(WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(value).c_str(),
                                               widen(theirs).c_str()));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, widen(theirs).c_str());  // flush the cache to disk
        EXPECT_EQ(readRaw(mine), readRaw(theirs)) << bytes << " [" << section << "] " << key;
    }

    // Where Wine would rewrite the layout, the system still reads what we wrote.
    const std::string bytes = "; settings\r\n\r\n  [ Window ]  \r\n  Left = -20  \r\nLEFT=5\r\n\r\n[list]\nlastopen = \"old\" \n\n"
                              "[window]\r\nhidden=1\r\n";
    const std::pair<std::string, std::string> all[] = {{"window", "left"}, {"window", "top"}, {"list", "lastopen"},
                                                       {"statusbar", "visible"}, {"window", "hidden"}, {"", "; settings"}};
    for (const auto& [section, key] : {all[0], all[1], all[2], all[3]}) {
        const std::string before = fresh(bytes), after = fresh(bytes);
        ASSERT_TRUE(SettingsFile(fs, codec, after).writeString(section, key, "1200"));
        for (const auto& [s, k] : all) {
            EXPECT_EQ(systemSays(after, s, k), s == section && k == key ? "1200|1200" : systemSays(before, s, k)) << key;
        }
    }
}

}  // namespace
}  // namespace kolvi::test
