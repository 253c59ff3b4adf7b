// Alarms firing inside the real main window, driven by a test clock: the
// message box, the notification window with its sound and digit keys, the
// delete-after-run rows, control commands, the preview and the countdown tip.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "resource.h"
#include "mainwindow/win32/main_form.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "win/main_form_fixture.h"

namespace kolvi::test {
namespace {

using win32::narrow;

class FiringTest : public MainFormFixture {
protected:
    void start(const std::string& alarms) {
        writeAlarmFile(path_, "1.1\r\n" + alarms);
        startForm(path_);
    }
    void tickAt(int hour, int minute, int second) {
        clock_.time = {1, hour, minute, second};
        form_->alarmTimer_Timer();
        pump();
    }
    std::string panel() const { return statusPanel(); }
    std::string fileText() const { return MainFormFixture::fileText(path_); }
    static std::string controlText(HWND dialog, int id) {
        wchar_t text[256] = {};
        GetDlgItemTextW(dialog, id, text, 256);
        return narrow(text);
    }

    std::string path_ = dir_.file("list.alm");
};

TEST_F(FiringTest, ADueAlarmWithoutAFileShowsItsNameOnceInItsSecond) {
    start("1,朝会,0,1,1,1,1,1,0,10,00,05,,0\r\n");
    tickAt(10, 0, 4);
    EXPECT_EQ(panel(), "10:00:04");
    EXPECT_TRUE(desktop_.asked.empty());
    tickAt(10, 0, 5);
    ASSERT_EQ(desktop_.asked.size(), 1u);
    EXPECT_EQ(desktop_.asked[0], "info:Kolviアラーム|朝会");
    EXPECT_EQ(panel(), "10:00:05 (朝会)");
    EXPECT_EQ(ListView_GetNextItem(form_->listView(), -1, LVNI_SELECTED), 0);
    tickAt(10, 0, 5);  // the same second again: latched
    EXPECT_EQ(desktop_.asked.size(), 1u);
    EXPECT_EQ(panel(), "10:00:05");
    clock_.time.weekday = 0;  // Sunday is not among its days
    form_->alarmTimer_Timer();
    tickAt(10, 0, 6);
    EXPECT_EQ(desktop_.asked.size(), 1u);
}

TEST_F(FiringTest, ASoundAlarmOpensAWindowAndDigitFiveAddsAnExtension) {
    start("1,会議,1,1,1,1,1,1,1,10,00,00,C:\\sound\\bell.WAV,0\r\n");
    tickAt(10, 0, 0);
    ASSERT_EQ(form_->openNotificationWindows(), 1u);
    const HWND window = form_->notificationWindow(0)->hwnd();
    ASSERT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(controlText(window, IDC_MESSAGE1), "会議");
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDC_MESSAGE2)));
    EXPECT_EQ(controlText(window, IDC_MESSAGE2), "1 ～ 9 キーで延長できます。");
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const std::string alias = std::to_string(reinterpret_cast<std::uintptr_t>(window)) + "PL";
    ASSERT_EQ(sound_.calls.size(), 2u);
    EXPECT_EQ(sound_.calls[0], "mci:open \"C:\\sound\\bell.WAV\" alias " + alias);
    EXPECT_EQ(sound_.calls[1], "mci:play " + alias + " from 0");

    // The key is pressed 17 seconds later; the button has the focus.
    clock_.time = {1, 10, 0, 17};
    MSG key{GetDlgItem(window, IDCANCEL), WM_CHAR, L'5', 0, 0, {}};
    EXPECT_TRUE(form_->preTranslateMessage(key));
    pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form_->openNotificationWindows(), 0u);
    EXPECT_EQ(sound_.calls[2], "mci:stop " + alias);
    EXPECT_EQ(sound_.calls[3], "mci:close " + alias);
    EXPECT_EQ(fileText(),
              "1.1\r\n"
              "1,会議,1,1,1,1,1,1,1,10,00,00,C:\\sound\\bell.WAV,0\r\n"
              "1,会議の延長,1,1,1,1,1,1,1,10,05,17,C:\\sound\\bell.WAV,1\r\n");
    EXPECT_EQ(ListView_GetItemCount(form_->listView()), 2);
}

TEST_F(FiringTest, EscapeClosesWithoutAnExtensionAndExitClosesEveryWindow) {
    writeRaw(dir_.file("kolvialarm.ini"), "[sound]\r\nusemci=0\r\n");
    start("1,a,1,1,1,1,1,1,1,10,00,00,a.wav,0\r\n1,b,1,1,1,1,1,1,1,10,00,00,b.mp3,0\r\n");
    tickAt(10, 0, 0);
    tickAt(10, 0, 0);
    ASSERT_EQ(form_->openNotificationWindows(), 2u);
    EXPECT_EQ(sound_.calls, (std::vector<std::string>{"play:a.wav", "play:b.mp3"}));
    const HWND first = form_->notificationWindow(0)->hwnd();
    SendMessageW(first, WM_COMMAND, IDCANCEL, 0);  // Escape, Enter or the button
    pump();
    EXPECT_EQ(form_->openNotificationWindows(), 1u);
    const HWND second = form_->notificationWindow(0)->hwnd();
    form_->exitProgram();
    EXPECT_FALSE(IsWindow(second));
    pump();
    EXPECT_EQ(sound_.calls.size(), 4u);  // two plays, two stops
    EXPECT_EQ(fileText(), "1.1\r\n1,a,1,1,1,1,1,1,1,10,00,00,a.wav,0\r\n1,b,1,1,1,1,1,1,1,10,00,00,b.mp3,0\r\n");
}

TEST_F(FiringTest, DeleteAfterRunRowsGoAndTheFileIsSaved) {
    start("1,麺,1,1,1,1,1,1,1,12,03,00,,1\r\n1,残る,1,1,1,1,1,1,1,12,03,00,,0\r\n");
    tickAt(12, 3, 0);
    EXPECT_EQ(fileText(), "1.1\r\n1,残る,1,1,1,1,1,1,1,12,03,00,,0\r\n");
    tickAt(12, 3, 0);  // the next due row of the same second fires on the next tick
    EXPECT_EQ(desktop_.asked.size(), 2u);
    EXPECT_EQ(fileText(), "1.1\r\n1,残る,1,1,1,1,1,1,1,12,03,00,,0\r\n");
}

TEST_F(FiringTest, ControlCommandsGoToTheSystemActions) {
    start("1,a,1,1,1,1,1,1,1,09,00,00,Lock,0\r\n"
          "1,b,1,1,1,1,1,1,1,09,00,01,sendkeys Hi~,0\r\n"
          "1,c,1,1,1,1,1,1,1,09,00,02,EXIT,0\r\n");
    tickAt(9, 0, 0);
    tickAt(9, 0, 1);
    EXPECT_EQ(system_.calls, (std::vector<std::string>{"lock", "keys"}));
    ASSERT_EQ(system_.typed.size(), 1u);
    EXPECT_GE(system_.typed[0].size(), 3u);
    const HWND window = form_->hwnd();
    tickAt(9, 0, 2);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(FiringTest, AFiredRowIsHighlightedEvenWithoutAName) {
    start("1,,1,1,1,1,1,1,1,10,00,00,,0\r\n1,b,1,1,1,1,1,1,1,11,00,00,,0\r\n");
    list_.makeCurrent(1, true);
    form_->refreshList();
    tickAt(10, 0, 0);
    EXPECT_EQ(panel(), "10:00:00");
    // Del must act on the row the list shows as selected: the fired one.
    EXPECT_EQ(ListView_GetNextItem(form_->listView(), -1, LVNI_SELECTED), 0);
    EXPECT_EQ(list_.currentPosition(), 0u);
}

TEST_F(FiringTest, AlarmsWaitingForTheirTurnAreDroppedWhenTheCheckStops) {
    start("1,a,1,1,1,1,1,1,1,10,00,00,,0\r\n1,b,1,1,1,1,1,1,1,10,00,00,,0\r\n");
    tickAt(10, 0, 0);
    ASSERT_EQ(desktop_.asked.size(), 1u);
    SendMessageW(form_->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_ALARM_ENABLE, 1), 0);
    SendMessageW(form_->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_ALARM_ENABLE, 1), 0);
    tickAt(12, 0, 0);
    EXPECT_EQ(desktop_.asked.size(), 1u);  // b's second passed while the check was off
    EXPECT_EQ(panel(), "12:00:00");
}

TEST_F(FiringTest, TheButtonPassesDigitsToTheWindowWhateverLoopDeliversThem) {
    start("1,会議,1,1,1,1,1,1,1,10,00,00,bell.wav,0\r\n");
    tickAt(10, 0, 0);
    ASSERT_EQ(form_->openNotificationWindows(), 1u);
    const HWND window = form_->notificationWindow(0)->hwnd();
    clock_.time = {1, 23, 59, 0};
    SendMessageW(GetDlgItem(window, IDCANCEL), WM_CHAR, L'2', 0);
    pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(fileText().find("1,会議の延長,1,1,1,1,1,1,1,00,01,00,bell.wav,1\r\n"), std::string::npos) << fileText();
}

TEST_F(FiringTest, EndingTheSessionClosesTheWindowsAndWritesTheSettingsWithoutAsking) {
    writeRaw(dir_.file("kolvialarm.ini"), "[window]\r\ncloseconfirm=1\r\n");
    start("1,a,1,1,1,1,1,1,1,10,00,00,a.wav,0\r\n");
    tickAt(10, 0, 0);
    ASSERT_EQ(form_->openNotificationWindows(), 1u);
    const HWND window = form_->notificationWindow(0)->hwnd();
    EXPECT_EQ(SendMessageW(form_->hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(form_->hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(sound_.calls.back(), "mci:close " + std::to_string(reinterpret_cast<std::uintptr_t>(window)) + "PL");
    EXPECT_TRUE(desktop_.asked.empty());
    EXPECT_EQ(settings_.readString("list", "lastopen", "?"), "list.alm");
    EXPECT_EQ(list_.rowCount(), 1u);  // nothing extended
}

// The preview is modal: a thread timer looks at it and closes it.
HWND g_preview = nullptr;
std::string g_previewText;
bool g_hintShown = true;
HWND g_owner = nullptr;
bool g_ownerEnabled = true;
BOOL CALLBACK findPreview(HWND hwnd, LPARAM) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() && GetDlgItem(hwnd, IDC_MESSAGE1) != nullptr && IsWindowVisible(hwnd)) {
        g_preview = hwnd;
        return FALSE;
    }
    return TRUE;
}
void CALLBACK closePreview(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EnumWindows(&findPreview, 0);
    if (g_preview == nullptr) return;
    wchar_t text[256] = {};
    GetDlgItemTextW(g_preview, IDC_MESSAGE1, text, 256);
    g_previewText = narrow(text);
    g_hintShown = IsWindowVisible(GetDlgItem(g_preview, IDC_MESSAGE2)) != 0;
    g_owner = GetWindow(g_preview, GW_OWNER);
    g_ownerEnabled = IsWindowEnabled(g_owner) != 0;
    SendMessageW(g_preview, WM_CHAR, L'5', 0);  // digits do nothing in a preview
    PostMessageW(g_preview, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(FiringTest, ThePreviewPlaysModallyWithTheCheckPausedAndIgnoresDigits) {
    start("1,朝会,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0\r\n");
    SetTimer(nullptr, 0, 300, &closePreview);
    SendMessageW(form_->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_ALARM_PREVIEW, 1), 0);
    ASSERT_NE(g_preview, nullptr);
    EXPECT_EQ(g_previewText, "bell.wav の再生プレビューです。");
    EXPECT_FALSE(g_hintShown);
    EXPECT_EQ(g_owner, form_->hwnd());
    EXPECT_FALSE(g_ownerEnabled);  // the main window waits for the preview
    EXPECT_TRUE(form_->alarmTimerRunning());
    EXPECT_EQ(sound_.calls.size(), 4u);  // open, play, stop, close
    EXPECT_EQ(list_.rowCount(), 1u);     // no extension
}

TEST_F(FiringTest, TheTipCountsDownToTheRowsTime) {
    start("1,朝会,1,1,1,1,1,1,1,10,05,00,,0\r\n0,休み,1,1,1,1,1,1,1,10,05,00,,0\r\n");
    RECT r{};
    ListView_GetItemRect(form_->listView(), 0, &r, LVIR_LABEL);
    const POINT first{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    clock_.time = {1, 10, 0, 0};
    EXPECT_EQ(form_->toolTipTextAt(first), "");  // tips are off by default
    SendMessageW(form_->hwnd(), WM_COMMAND, IDM_VIEW_TOOLTIP, 0);
    EXPECT_EQ(form_->toolTipTextAt(first), "[朝会] このアラームは300秒後に作動します。");
    const POINT second{first.x, first.y + (r.bottom - r.top)};
    EXPECT_EQ(form_->toolTipTextAt(second), "[休み] このアラームは停止しています。");
}

}  // namespace
}  // namespace kolvi::test
