// Real files under Wine: the atomic replace, what counts as an ordinary file,
// and the code page 932 converter.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "support/win_files.h"

namespace kolvi::test {
namespace {

using win32::Win32Codec;
using win32::Win32FileSystem;

TEST(Win32FileSystemTest, ReplaceWritesNewAndExistingFilesWithoutLeavingTemporaries) {
    TempDir dir;
    Win32FileSystem fs;
    const std::string target = dir.file("表ソ.alm");  // trail bytes that look like a backslash
    ASSERT_TRUE(fs.replaceFile(target, "1.1\r\n"));
    EXPECT_EQ(readRaw(target), "1.1\r\n");
    ASSERT_TRUE(fs.replaceFile(target, "1.1\r\n1,a,0,0,0,0,0,0,0,00,00,00,,0\r\n"));
    EXPECT_EQ(readRaw(target), "1.1\r\n1,a,0,0,0,0,0,0,0,00,00,00,,0\r\n");
    ASSERT_TRUE(fs.replaceFile(target, ""));
    EXPECT_EQ(readRaw(target), "");
    EXPECT_EQ(dir.listing(), "表ソ.alm;");
}

TEST(Win32FileSystemTest, FailedReplaceLeavesTheOldContentAndNoTemporary) {
    TempDir dir;
    Win32FileSystem fs;
    const std::string target = dir.file("locked.alm");
    writeRaw(target, "1.1\r\nold\r\n");
    SetFileAttributesW(win32::widen(target).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(fs.replaceFile(target, "1.1\r\nnew\r\n"));
    EXPECT_EQ(readRaw(target), "1.1\r\nold\r\n");
    EXPECT_EQ(dir.listing(), "locked.alm;");

    // A directory in the way, and a directory that does not exist.
    CreateDirectoryW(win32::widen(dir.file("sub")).c_str(), nullptr);
    EXPECT_FALSE(fs.replaceFile(dir.file("sub"), "x"));
    EXPECT_FALSE(fs.replaceFile(dir.file("nowhere\\x.alm"), "x"));
    EXPECT_EQ(dir.listing(), "locked.alm;sub;");
}

// Hidden and system files are not ordinary (an alarm file so marked counts
// as missing) but are read and written like any other; a save keeps them so.
TEST(Win32FileSystemTest, HiddenFilesAreReadAndStayHiddenWhenReplaced) {
    TempDir dir;
    Win32FileSystem fs;
    const std::string hidden = dir.file("kolvialarm.ini");
    writeRaw(hidden, "[list]\r\n");
    SetFileAttributesW(win32::widen(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(fs.isOrdinaryFile(hidden));
    EXPECT_EQ(fs.readFile(hidden).bytes, "[list]\r\n");
    ASSERT_TRUE(fs.replaceFile(hidden, "[list]\r\nk=1\r\n"));
    EXPECT_EQ(readRaw(hidden), "[list]\r\nk=1\r\n");
    EXPECT_NE(GetFileAttributesW(win32::widen(hidden).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    CreateDirectoryW(win32::widen(dir.file("folder.alm")).c_str(), nullptr);
    EXPECT_EQ(fs.readFile(dir.file("folder.alm")).status, ReadStatus::missing);
    EXPECT_EQ(fs.readFile(dir.file("absent.alm")).status, ReadStatus::missing);
}

// The target is replaced in one rename: a reader never finds it absent, and
// temporary files a killed save left behind go with the next save.
TEST(Win32FileSystemTest, TheTargetIsNeverAbsentAndLeftoversGoWithTheNextSave) {
    TempDir dir;
    Win32FileSystem fs;
    const std::string target = dir.file("list.alm");
    writeRaw(dir.file("~list.alm.32.7.0.tmp"), "old");
    writeRaw(dir.file("~other.alm.32.7.0.tmp"), "not ours");
    ASSERT_TRUE(fs.replaceFile(target, std::string(20000, 'a')));
    EXPECT_EQ(dir.listing(), "list.alm;~other.alm.32.7.0.tmp;");

    std::atomic<bool> done{false};
    std::atomic<int> absent{0};
    const std::wstring wide = win32::widen(target);
    std::thread poller([&] {
        while (!done) {
            if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) ++absent;
        }
    });
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(fs.replaceFile(target, std::string(20000, static_cast<char>('a' + i % 26))));
    done = true;
    poller.join();
    EXPECT_EQ(absent, 0);
}

TEST(Win32FileSystemTest, FileLockedByAnotherHandleIsUnreadable) {
    TempDir dir;
    Win32FileSystem fs;
    const std::string path = dir.file("busy.alm");
    writeRaw(path, "1.1\r\n");
    HANDLE exclusive = CreateFileW(win32::widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fs.readFile(path).status, ReadStatus::unreadable);
    CloseHandle(exclusive);
    EXPECT_EQ(fs.readFile(path).status, ReadStatus::ok);
}

TEST(Win32CodecTest, RefusesInvalidBytesAndCharactersOutsideTheCodePage) {
    const Win32Codec codec;
    EXPECT_FALSE(codec.decode("\x81").has_value());       // lead byte at the end
    EXPECT_FALSE(codec.decode("a\x81\x20z").has_value());  // lead byte + invalid trail
    EXPECT_FALSE(codec.encode("한국어").has_value());      // Hangul is not in 932
    EXPECT_FALSE(codec.encode("\xE2\x82").has_value());    // broken UTF-8
    EXPECT_FALSE(codec.encode("café").has_value());        // é would become a look-alike
    EXPECT_EQ(codec.encode(""), std::string());
}

// Our decoder must accept and map every two-byte sequence exactly as the
// system converter does on its own.
TEST(Win32CodecTest, AgreesWithTheSystemConverterOnEveryDoubleByteSequence) {
    const Win32Codec codec;
    int valid = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[4] = {};
            const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, 2, wide, 4);
            const auto ours = codec.decode(std::string_view(bytes, 2));
            ASSERT_EQ(ours.has_value(), n > 0) << std::hex << lead << " " << trail;
            if (n > 0) {
                ++valid;
                ASSERT_EQ(*ours, win32::narrow(std::wstring_view(wide, static_cast<std::size_t>(n))));
                // Every mapped character goes back to a sequence that decodes
                // to the same text (the duplicate vendor codes may normalise).
                const auto back = codec.encode(*ours);
                ASSERT_TRUE(back.has_value());
                ASSERT_EQ(codec.decode(*back), ours);
            }
        }
    }
    EXPECT_GT(valid, 7000);  // JIS X 0208 alone has 6879 characters
}

}  // namespace
}  // namespace kolvi::test
