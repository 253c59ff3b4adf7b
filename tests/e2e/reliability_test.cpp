// The real program against what users and their machines do to it: kills in
// the middle of saving, typing into the list, a save that cannot be done.
#include <random>

#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

// A key press as the keyboard sends it (repeat count 1: the list ignores
// typed characters without key data); the program's own message loop makes
// the character of it.
void key(HWND window, WPARAM vk) {
    PostMessageW(window, WM_KEYDOWN, vk, 1);
    PostMessageW(window, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
}

TEST_F(ProgramTest, SavesSurviveKillsTypingMovesOnlyToANumberAndAFailedSaveSaysWhy) {
    std::string lines;
    for (int i = 0; i < 2000; ++i) {
        lines += "1,アラーム" + std::to_string(i) + "号①髙,1,1,1,1,1,1,1,23," + std::to_string(10 + i % 50) +
                 ",00,,0\r\n";
    }
    prepare(lines);
    // Every save writes the same lines, in whatever order, with one check
    // changed: a file of another size is a torn one, whether it is read
    // while the program saves or after it was killed in the middle.
    const auto size = [this] {  // without opening it, which would hold up the program's saves
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(widen(file("list.alm")).c_str(), GetFileExInfoStandard, &data);
        return data.nFileSizeLow;
    };
    const DWORD whole = size();
    std::mt19937 random(20261207);
    for (int cycle = 0; cycle < 6; ++cycle) {
        const HWND lv = FindWindowExW(start(), nullptr, WC_LISTVIEWW, nullptr);
        for (int i = 0; i < 40; ++i) key(lv, VK_SPACE);  // back-to-back saves
        for (const DWORD end = GetTickCount() + std::uniform_int_distribution<DWORD>(50, 600)(random);
             GetTickCount() < end;) {
            ASSERT_EQ(size(), whole) << "while saving in cycle " << cycle;
        }
        TerminateProcess(process_.hProcess, 1);
        stop();
        ASSERT_EQ(size(), whole) << "after the kill in cycle " << cycle;
    }

    const HWND lv = FindWindowExW(start(), nullptr, WC_LISTVIEWW, nullptr);
    const auto focused = [lv] {
        return static_cast<int>(SendMessageW(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    };
    for (const char digit : {'0', '1', '2', '3'}) key(lv, static_cast<WPARAM>(digit));
    EXPECT_EQ(waitFor(122, focused), 122);  // the row numbered "0123:"
    key(lv, 'Z');  // no row's number goes on so
    settle(lv, 3);  // its press, character and release
    EXPECT_EQ(focused(), 122);

    const std::string before = alarms();
    key(lv, VK_SPACE);
    EXPECT_TRUE(waitFor(true, [&] { return alarms() != before; }));
    EXPECT_EQ(dir_.listing(), "kolvialarm.exe;kolvialarm.ini;list.alm;") << "what the killed saves left is still there";

    SetFileAttributesW(widen(file("list.alm")).c_str(), FILE_ATTRIBUTE_READONLY);
    key(lv, VK_SPACE);
    wchar_t reason[256] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0, reason,
                   256, nullptr);
    std::string why = narrow(reason);
    why.erase(why.find_last_not_of("\r\n ") + 1);
    EXPECT_EQ(closeBox(), "ファイルを保存できません。\r\n" + file("list.alm") + "\r\n" + why);
}

}  // namespace
}  // namespace kolvi::e2e
