// The running program's side of the command line and of the hot key: a
// request in WM_COPYDATA adds a row as the editor would, and the hot key
// brings the window back and opens the editor for a countdown.
#include "mainwindow/win32/remote_link.h"
#include "win/main_form_fixture.h"

namespace kolvi::test {
namespace {

LRESULT sendRequest(HWND window, const std::string& bytes, ULONG_PTR tag = win32::kRemoteRequestTag) {
    COPYDATASTRUCT data{tag, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
    return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

TEST_F(MainFormFixture, ARequestAddsASavedRecordedCurrentRowAndAnythingElseChangesNothing) {
    const std::string morning = "1,朝会,0,1,1,1,1,1,0,11,00,00,,0\r\n";
    start(morning.c_str());  // at 10:00:00, sorted by time
    const std::string tea = encodeRemoteRequest(std::vector<std::string>{"/timer", "0:05", "お茶"});
    EXPECT_EQ(sendRequest(hwnd(), tea, 0), 0);  // not a request
    EXPECT_EQ(sendRequest(hwnd(), tea.substr(0, tea.size() - 1)), 0);  // not well formed
    EXPECT_EQ(sendRequest(hwnd(), encodeRemoteRequest(std::vector<std::string>{"/alarm", "25:00"})), 3);  // refused
    EXPECT_EQ(fileText() + std::to_string(selectedRow()), "1.1\r\n" + morning + "-1");

    EXPECT_EQ(sendRequest(hwnd(), tea), 1);
    EXPECT_EQ(fileText(), "1.1\r\n1,お茶,1,1,1,1,1,1,1,10,00,05,,1\r\n" + morning);
    EXPECT_EQ(std::to_string(selectedRow()) + std::to_string(*alarms_.currentPosition()), "00");
    EXPECT_EQ(codec_.decode(readRaw(dir_.file("timer.history"))), "お茶,00,00,05,,1\r\n");

    command(IDM_FILE_CLOSE);
    EXPECT_EQ(sendRequest(hwnd(), tea), 2);
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"box:アラームファイルが開かれていません。"});
}

TEST_F(MainFormFixture, TheHotKeyOpensACountdownFromTheTrayAndAKeyTakenElsewhereIsSaidOnce) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'K'));  // taken by another program
    writeIni("", "[window]\r\nhotkey=ctrl+alt+k\r\n");
    start("");
    tickAt(10, 0, 1);  // the notice outlives a tick
    EXPECT_EQ(windowText(form_->statusBar()), "ホットキー ctrl+alt+k を登録できませんでした。");
    UnregisterHotKey(nullptr, 1);

    ShowWindow(hwnd(), SW_MINIMIZE);
    pump();
    ASSERT_FALSE(IsWindowVisible(hwnd()));
    std::string seen;
    later(60, [&] {
        const HWND d = GetActiveWindow();
        seen = windowText(d) + (IsDlgButtonChecked(d, IDC_SELECT_TIMER) == BST_CHECKED ? " timer" : " alarm") +
               (GetFocus() == GetDlgItem(d, IDC_MINUTE_TEXT) ? " minutes" : " elsewhere") +
               (IsWindowVisible(hwnd()) ? " shown" : " hidden");
        PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageW(hwnd(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'K'));
    EXPECT_EQ(seen, "アラームの追加 timer minutes shown");
}

}  // namespace
}  // namespace kolvi::test
