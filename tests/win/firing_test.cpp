// Alarms carried out by the real main window and its alarm runner, driven by
// a test clock: notification windows with their sound and keys from either
// loop, the system actions behind a countdown, the wake timer and the alarms
// a sleep skipped.
#include "win/main_form_fixture.h"

#include <imm.h>

#include "command/win32/power_countdown_form.h"
#include "notify/win32/sound_form.h"

namespace kolvi::test {
namespace {

std::string itemText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

using FiringTest = MainFormFixture;

TEST_F(FiringTest, NotificationWindowsTakeKeysFromEitherLoopAfterTheGuardAndCloseWhenTheSessionEnds) {
    writeIni("keyguard=300\r\n", "[window]\r\ncloseconfirm=1\r\n");
    start("1,a,1,1,1,1,1,1,1,10,00,00,a.wav,0\r\n1,b,1,1,1,1,1,1,1,10,00,00,b.wav,0\r\n"
          "1,c,1,1,1,1,1,1,1,10,00,00,c.wav,0\r\n1,d,1,1,1,1,1,1,1,10,00,00,d.wav,0\r\n");
    HWND window[4], button[4];
    for (std::size_t i = 0; i < 4; ++i) {
        tickAt(10, 0, 0);
        window[i] = form_->runner().window(i)->hwnd();
        button[i] = GetDlgItem(window[i], IDCANCEL);
    }
    const std::string alias = std::to_string(reinterpret_cast<std::uintptr_t>(window[0])) + "PL";
    EXPECT_EQ(sound_.calls[0], "mci:open \"a.wav\" alias " + alias);
    EXPECT_EQ(itemText(window[1], IDC_ALARM_NAME), "b — 音が出ません (ファイルがありません)");  // no b.wav
    EXPECT_TRUE(GetWindowLongW(window[3], GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT first{}, next{};  // each opens below and right of the one before
    GetWindowRect(window[0], &first);
    GetWindowRect(window[1], &next);
    EXPECT_GT(next.left, first.left);
    EXPECT_GT(next.top, first.top);
    // Window and notification window have icons drawn at their own sizes.
    const auto iconWidth = [](HWND owner, WPARAM kind) {
        ICONINFO info{};
        GetIconInfo(reinterpret_cast<HICON>(SendMessageW(owner, WM_GETICON, kind, 0)), &info);
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return bitmap.bmWidth;
    };
    const UINT dpi = GetDpiForWindow(hwnd());
    EXPECT_EQ(iconWidth(hwnd(), ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    EXPECT_EQ(iconWidth(window[0], ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    EXPECT_EQ(iconWidth(hwnd(), ICON_BIG), GetSystemMetricsForDpi(SM_CXICON, dpi));
    EXPECT_EQ(ImmGetContext(button[0]), nullptr);  // digits come as keys with the Japanese input on

    // Keys that come too soon are dropped, whichever loop brings them.
    MSG five{button[0], WM_CHAR, L'5', 0, 0, {}}, enter{button[0], WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(form_->preTranslateMessage(five));
    EXPECT_TRUE(form_->preTranslateMessage(enter));
    SendMessageW(button[0], WM_CHAR, L'5', 0);
    SendMessageW(button[0], WM_KEYDOWN, VK_ESCAPE, 0);
    clock_.ms = 300;  // the guard's last moment has passed
    EXPECT_EQ(form_->runner().openWindows(), 4u);
    // Then the button answers Escape and digits itself (another loop, a
    // message box's, say, may bring them), and the program's loop hands the
    // window a full-width digit.
    SendMessageW(button[0], WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(sound_.calls.back(), "mci:close " + alias);
    clock_.time.second = 17;
    MSG fullWidth{button[1], WM_CHAR, L'\uFF15', 0, 0, {}};
    EXPECT_TRUE(form_->preTranslateMessage(fullWidth));
    clock_.time = {1, 23, 59, 0};
    SendMessageW(button[2], WM_CHAR, L'2', 0);
    pump();
    EXPECT_EQ(form_->runner().openWindows(), 1u);
    EXPECT_NE(fileText().find("\r\n1,bの延長,1,1,1,1,1,1,1,10,05,17,b.wav,1\r\n"), std::string::npos);
    EXPECT_NE(fileText().find("\r\n1,cの延長,1,1,1,1,1,1,1,00,01,00,c.wav,1\r\n"), std::string::npos);
    EXPECT_EQ(ListView_GetItemCount(lv()), 6);  // none for a

    EXPECT_EQ(SendMessageW(hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(window[3]));
    EXPECT_TRUE(desktop_.asked.empty());
    EXPECT_EQ(fileText().find("dの延長"), std::string::npos);
    EXPECT_EQ(settings_.readString("list", "lastopen", "?"), "list.alm");
}

// Power commands wait behind a countdown window that can be cut short or
// cancelled; the end command ends the program.
TEST_F(FiringTest, PowerCommandsWaitBehindACountdownAndTheEndCommandEndsTheProgram) {
    writeIni("actiondelay=1\r\n");
    start("1,会議,1,1,1,1,1,1,1,10,00,00,shutdownxp,0\r\n1,b,1,1,1,1,1,1,1,10,00,01,rebootxp,0\r\n"
          "1,c,1,1,1,1,1,1,1,10,00,02,logoffxp,0\r\n1,d,1,1,1,1,1,1,1,11,00,00,EXIT,0\r\n");
    tickAt(10, 0, 0);
    ASSERT_EQ(form_->runner().openCountdowns(), 1u);
    const HWND first = form_->runner().countdown(0)->hwnd();
    EXPECT_EQ(itemText(first, IDC_POWER_TEXT), "会議: 1秒後にシャットダウンします。");
    EXPECT_TRUE(GetWindowLongW(first, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageW(first, WM_COMMAND, MAKEWPARAM(IDC_POWER_RUN_NOW, BN_CLICKED), 0);
    EXPECT_EQ(system_.calls, std::vector<std::string>{"poweroff"});
    tickAt(10, 0, 1);
    SendMessageW(form_->runner().countdown(0)->hwnd(), WM_COMMAND, IDCANCEL, 0);  // Escape
    tickAt(10, 0, 2);
    EXPECT_TRUE(pumpUntil([&] { return form_->runner().openCountdowns() == 0; }));
    EXPECT_EQ(system_.calls, (std::vector<std::string>{"poweroff", "logoff"}));  // c ran at zero, b never
    const HWND window = hwnd();
    tickAt(11, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

// Woken a minute early by its timer, the machine stays up and the alarm rings
// on its second with the display on, with no grace for late alarms; a save
// moves the timer at once, and the alarm switch cancels it.
TEST_F(FiringTest, TheMachineWakesAMinuteEarlyAndStaysUpUntilTheAlarmRings) {
    writeIni("wake=1\r\n");
    clock_.time.hour = 6;
    start("1,起床,1,1,1,1,1,1,1,07,00,00,,0\r\n1,朝食,1,1,1,1,1,1,1,07,30,00,,0\r\n");
    const auto arm = [&](int day, int hour, int minute) {
        return "arm:" + std::to_string(localSeconds({0, hour, minute, 0, clock_.time.day + day}));
    };
    clock_.time = {1, 6, 59, 4, clock_.time.day};  // the timer went off a few seconds ago
    SendMessageW(hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    tickAt(6, 59, 4);
    tickAt(7, 0, 0);
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"alarm:起床"});
    tickAt(7, 0, 1);
    EXPECT_EQ(wake_.calls, (std::vector<std::string>{arm(0, 6, 59), "awake:1", "display", arm(0, 7, 29), "awake:0"}));
    click(rowPoint(1));  // 朝食
    command(IDM_ALARM_DELETE);
    EXPECT_EQ(wake_.calls.back(), arm(1, 6, 59));
    command(IDM_ALARM_ENABLE, true);
    EXPECT_EQ(wake_.calls.back(), "cancel");
}

// Back from a sleep, the alarm due shortly before fires and the older one is
// listed in a window that answers the dialog keys.
TEST_F(FiringTest, AlarmsASleepSkippedAreListed) {
    writeIni("missedgrace=60\r\n");
    start("1,朝会,0,1,1,1,1,1,0,10,01,00,,1\r\n1,電話,0,1,1,1,1,1,0,10,04,30,,0\r\n");
    tickAt(10, 0, 0);
    tickAt(10, 5, 0);  // back from a sleep
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"alarm:電話"});
    const HWND missed = form_->missedAlarms().hwnd();
    ASSERT_NE(missed, nullptr);
    ASSERT_EQ(SendDlgItemMessageW(missed, IDC_MISSED_LIST, LB_GETCOUNT, 0, 0), 1);
    wchar_t line[128] = {};
    SendDlgItemMessageW(missed, IDC_MISSED_LIST, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(win32::narrow(line), "朝会 月火水木金 10:01:00");
    EXPECT_NE(fileText().find("朝会"), std::string::npos);  // a missed delete-after-run row stays
    SetActiveWindow(missed);
    EXPECT_EQ(GetFocus(), GetDlgItem(missed, IDOK));
    MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}}, escape{missed, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(form_->preTranslateMessage(tab));
    EXPECT_EQ(GetFocus(), GetDlgItem(missed, IDC_MISSED_LIST));
    EXPECT_TRUE(form_->preTranslateMessage(escape));
    EXPECT_EQ(form_->missedAlarms().hwnd(), nullptr);
}

}  // namespace
}  // namespace kolvi::test
