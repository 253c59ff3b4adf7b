// Alarms carried out by the real main window and its alarm runner, driven by
// a test clock: message boxes, notification windows with their sound and
// keys from either loop, the system actions, the preview for any owner.
#include "win/main_form_fixture.h"

#include <imm.h>

#include "command/win32/power_countdown_form.h"
#include "notify/win32/sound_form.h"
#include "platform/win32/win32_desktop.h"

namespace kolvi::test {
namespace {

using win32::narrow;

std::string dialogText(HWND dialog, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return narrow(text);
}

std::string aliasOf(HWND window) { return std::to_string(reinterpret_cast<std::uintptr_t>(window)) + "PL"; }

using FiringTest = MainFormFixture;

TEST_F(FiringTest, ADueAlarmWithoutAFileShowsItsNameAndItsRowIsHighlighted) {
    startWith("1,b,1,1,1,1,1,1,1,11,00,00,,0\r\n1,朝会,0,1,1,1,1,1,0,10,00,05,,0\r\n");
    pressOnList(WM_LBUTTONDOWN, WM_LBUTTONUP, rowPoint(1));
    tickAt(10, 0, 4);
    EXPECT_EQ(statusPanel(), "10:00:04");
    EXPECT_TRUE(desktop_.asked.empty());
    tickAt(10, 0, 5);
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"alarm:朝会"});
    EXPECT_EQ(statusPanel(), "10:00:05 (朝会)");
    // Del acts on the row the list shows as selected: the fired one.
    EXPECT_EQ(ListView_GetNextItem(lv(), -1, LVNI_SELECTED), 0);
    EXPECT_EQ(ListView_GetItemState(lv(), 0, LVIS_CUT), static_cast<UINT>(LVIS_CUT));
    tickAt(10, 0, 6);
    EXPECT_EQ(ListView_GetItemState(lv(), 0, LVIS_CUT), 0u);  // the dimmed mark goes with its second
}

TEST_F(FiringTest, ASoundWindowPlaysAndDigitFiveExtendsTheAlarm) {
    startWith("1,会議,1,1,1,1,1,1,1,10,00,00,C:\\sound\\bell.WAV,0\r\n");
    tickAt(10, 0, 0);
    ASSERT_EQ(form_->runner().openWindows(), 1u);
    const HWND window = form_->runner().window(0)->hwnd();
    ASSERT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(dialogText(window, IDC_ALARM_NAME), "会議");
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDC_DIGIT_HINT)));
    EXPECT_EQ(dialogText(window, IDC_DIGIT_HINT), "1 ～ 9 キーで延長できます。");
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const std::string alias = aliasOf(window);
    EXPECT_EQ(sound_.calls, (std::vector<std::string>{"mci:open \"C:\\sound\\bell.WAV\" alias " + alias,
                                                      "mci:play " + alias + " from 0"}));

    // The key comes through the program's loop 17 seconds later, typed with
    // the Japanese input on (a full-width digit), which the window keeps away
    // from its controls.
    EXPECT_EQ(ImmGetContext(GetDlgItem(window, IDCANCEL)), nullptr);
    clock_.time = {1, 10, 0, 17};
    MSG key{GetDlgItem(window, IDCANCEL), WM_CHAR, L'\uFF15', 0, 0, {}};
    EXPECT_TRUE(form_->preTranslateMessage(key));
    pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form_->runner().openWindows(), 0u);
    EXPECT_EQ(sound_.calls.back(), "mci:close " + alias);
    EXPECT_EQ(fileText(),
              "1.1\r\n"
              "1,会議,1,1,1,1,1,1,1,10,00,00,C:\\sound\\bell.WAV,0\r\n"
              "1,会議の延長,1,1,1,1,1,1,1,10,05,17,C:\\sound\\bell.WAV,1\r\n");
    EXPECT_EQ(ListView_GetItemCount(lv()), 2);
}

TEST_F(FiringTest, TheButtonTakesKeysWhenAnotherLoopDeliversThemAndExitClosesEveryWindow) {
    writeIni("[sound]\r\nusemci=0\r\n");
    startWith("1,a,1,1,1,1,1,1,1,10,00,00,a.wav,0\r\n1,b,1,1,1,1,1,1,1,10,00,00,b.mp3,0\r\n"
              "1,c,1,1,1,1,1,1,1,10,00,00,c.wav,0\r\n");
    for (int i = 0; i < 3; ++i) tickAt(10, 0, 0);
    ASSERT_EQ(form_->runner().openWindows(), 3u);
    EXPECT_EQ(sound_.calls, (std::vector<std::string>{"play:a.wav", "play:b.mp3", "play:c.wav"}));
    RECT firstPlace{}, next{};  // each opens below and right of the one before
    GetWindowRect(form_->runner().window(0)->hwnd(), &firstPlace);
    GetWindowRect(form_->runner().window(1)->hwnd(), &next);
    EXPECT_GT(next.left, firstPlace.left);
    EXPECT_GT(next.top, firstPlace.top);
    // No dialog manager in between (a message box's loop, say): the button
    // itself answers Escape and passes digits on.
    const HWND first = form_->runner().window(0)->hwnd();
    SendMessageW(GetDlgItem(first, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    EXPECT_FALSE(IsWindow(first));
    const HWND second = form_->runner().window(0)->hwnd();
    clock_.time = {1, 23, 59, 0};
    SendMessageW(GetDlgItem(second, IDCANCEL), WM_CHAR, L'2', 0);
    pump();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_NE(fileText().find("1,bの延長,1,1,1,1,1,1,1,00,01,00,b.mp3,1\r\n"), std::string::npos) << fileText();
    EXPECT_EQ(fileText().find("aの延長"), std::string::npos);

    const HWND third = form_->runner().window(0)->hwnd();
    form_->exitProgram();
    EXPECT_FALSE(IsWindow(third));
    EXPECT_EQ(sound_.calls.back(), "stop");
    EXPECT_EQ(fileText().find("cの延長"), std::string::npos);
}

TEST_F(FiringTest, AlarmsWaitingForTheirTurnAreDroppedWhenTheCheckStops) {
    startWith("1,a,1,1,1,1,1,1,1,10,00,00,,0\r\n1,b,1,1,1,1,1,1,1,10,00,00,,0\r\n");
    tickAt(10, 0, 0);
    ASSERT_EQ(desktop_.asked.size(), 1u);
    command(IDM_ALARM_ENABLE, true);
    command(IDM_ALARM_ENABLE, true);
    tickAt(12, 0, 0);
    EXPECT_EQ(desktop_.asked.size(), 1u);  // b's second passed while the check was off
}

TEST_F(FiringTest, EndingTheSessionClosesTheWindowsAndWritesTheSettingsWithoutAsking) {
    writeIni("[window]\r\ncloseconfirm=1\r\n");
    startWith("1,a,1,1,1,1,1,1,1,10,00,00,a.wav,0\r\n");
    tickAt(10, 0, 0);
    const HWND window = form_->runner().window(0)->hwnd();
    EXPECT_EQ(SendMessageW(hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(sound_.calls.back(), "mci:close " + aliasOf(window));
    EXPECT_TRUE(desktop_.asked.empty());
    EXPECT_EQ(settings_.readString("list", "lastopen", "?"), "list.alm");
}

// A preview is modal: a thread timer looks at it from inside its loop.
struct PreviewSeen {
    HWND window = nullptr;
    std::string text;
    bool hintShown = true;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    HWND mainWindow = nullptr;
    bool mainEnabled = false;
    std::string panel;
};
PreviewSeen g_preview;

BOOL CALLBACK findPreview(HWND hwnd, LPARAM) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || GetDlgItem(hwnd, IDC_ALARM_NAME) == nullptr || !IsWindowVisible(hwnd)) {
        return TRUE;
    }
    g_preview.window = hwnd;
    return FALSE;
}

void CALLBACK inspectPreview(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EnumWindows(&findPreview, 0);
    if (g_preview.window == nullptr) return;
    g_preview.text = dialogText(g_preview.window, IDC_ALARM_NAME);
    g_preview.hintShown = IsWindowVisible(GetDlgItem(g_preview.window, IDC_DIGIT_HINT)) != 0;
    g_preview.owner = GetWindow(g_preview.window, GW_OWNER);
    g_preview.ownerEnabled = IsWindowEnabled(g_preview.owner) != 0;
    g_preview.mainEnabled = IsWindowEnabled(g_preview.mainWindow) != 0;
    wchar_t panel[64] = {};
    SendMessageW(FindWindowExW(g_preview.mainWindow, nullptr, STATUSCLASSNAMEW, nullptr), SB_GETTEXTW, 0,
                 reinterpret_cast<LPARAM>(panel));
    g_preview.panel = narrow(panel);
    SendMessageW(g_preview.window, WM_CHAR, L'5', 0);  // digits do nothing in a preview
    PostMessageW(g_preview.window, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(FiringTest, APreviewIsModalToItsOwnerOnlyAndPausesTheCheck) {
    startWith("1,朝会,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0\r\n");
    // Another window of the program (the editor, say) previews a file.
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    g_preview = {};
    g_preview.mainWindow = hwnd();
    SetTimer(nullptr, 0, 300, &inspectPreview);
    form_->runner().runAlarm("0,0,0,0,0,0,0,0,0,0,0,0,C:\\sound\\bell.wav,0", AlarmMode::preview, owner, nullptr);
    ASSERT_NE(g_preview.window, nullptr);
    EXPECT_EQ(g_preview.text, "bell.wav の再生プレビューです。");
    EXPECT_FALSE(g_preview.hintShown);
    EXPECT_EQ(g_preview.owner, owner);
    EXPECT_FALSE(g_preview.ownerEnabled);
    EXPECT_TRUE(g_preview.mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));  // back once the preview is gone
    EXPECT_EQ(sound_.calls.size(), 4u);   // open, play, stop, close
    DestroyWindow(owner);

    // The main window's own preview stops the check while it plays.
    g_preview = {};
    g_preview.mainWindow = hwnd();
    SetTimer(nullptr, 0, 300, &inspectPreview);
    command(IDM_ALARM_PREVIEW, true);
    ASSERT_NE(g_preview.window, nullptr);
    EXPECT_EQ(g_preview.owner, hwnd());
    EXPECT_FALSE(g_preview.mainEnabled);
    EXPECT_EQ(g_preview.panel, "アラーム停止中");
    EXPECT_TRUE(form_->alarmTimerRunning());
    EXPECT_EQ(alarms_.rowCount(), 1u);  // no extension
}

// The real box of an alarm with no file: on top and in front, whatever else
// the user is doing.
BOOL CALLBACK closeTopmostBox(HWND window, LPARAM seen) {
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32770") return TRUE;
    *reinterpret_cast<LONG_PTR*>(seen) = GetWindowLongPtrW(window, GWL_EXSTYLE);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}
LONG_PTR g_boxStyle = 0;
void CALLBACK inspectBox(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EnumWindows(&closeTopmostBox, reinterpret_cast<LPARAM>(&g_boxStyle));
}

TEST(AlarmMessageTest, TheBoxOfAnAlarmStaysOnTop) {
    win32::Win32Desktop desktop;
    SetTimer(nullptr, 0, 200, &inspectBox);
    desktop.showAlarmMessage("会議");
    EXPECT_NE(g_boxStyle & WS_EX_TOPMOST, 0);
}

TEST_F(FiringTest, TheTipCountsDownToTheRowUnderThePointer) {
    startWith("1,朝会,1,1,1,1,1,1,1,10,05,00,,0\r\n0,休み,1,1,1,1,1,1,1,10,05,00,,0\r\n");
    clock_.time = {1, 10, 0, 0};
    EXPECT_EQ(form_->alarmListView().toolTipTextAt(rowPoint(0)), "");  // tips are off by default
    command(IDM_VIEW_TOOLTIP);
    EXPECT_EQ(form_->alarmListView().toolTipTextAt(rowPoint(0)), "[朝会] このアラームは300秒後に作動します。");
    EXPECT_EQ(form_->alarmListView().toolTipTextAt(rowPoint(1)), "[休み] このアラームは停止しています。");

    // The tip on show counts on while the pointer moves within the row.
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM found) {
        wchar_t cls[32] = {};
        GetClassNameW(window, cls, 32);
        if (std::wstring(cls) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER) != nullptr) *reinterpret_cast<HWND*>(found) = window;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip, nullptr);
    SetForegroundWindow(hwnd());
    BringWindowToTop(hwnd());
    const POINT at = rowPoint(0);
    POINT screen = at;
    ClientToScreen(lv(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(lv(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    for (int i = 0; i < 100 && !IsWindowVisible(tip); ++i, Sleep(20)) pump();  // the tip's own delay
    EXPECT_EQ(windowText(tip), "[朝会] このアラームは300秒後に作動します。");
    clock_.time.second = 10;
    SendMessageW(lv(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(windowText(tip), "[朝会] このアラームは290秒後に作動します。");
}

TEST_F(FiringTest, TheTypingGuardDropsKeysThatCameTooSoon) {
    writeIni("[alarm]\r\nkeyguard=300\r\n");
    startWith("1,会議,1,1,1,1,1,1,1,10,00,00,bell.wav,0\r\n");
    tickAt(10, 0, 0);
    const HWND window = form_->runner().window(0)->hwnd();
    const HWND button = GetDlgItem(window, IDCANCEL);
    MSG five{button, WM_CHAR, L'5', 0, 0, {}}, enter{button, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(form_->preTranslateMessage(five));
    EXPECT_TRUE(form_->preTranslateMessage(enter));
    SendMessageW(button, WM_CHAR, L'5', 0);  // whatever loop delivers it
    pump();
    EXPECT_TRUE(IsWindow(window));
    Sleep(350);
    EXPECT_TRUE(form_->preTranslateMessage(five));
    pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(fileText().find("会議の延長"), std::string::npos);
}

// Control commands reach the system actions; power actions wait behind a
// countdown that can be cut short or cancelled.
TEST_F(FiringTest, CommandsReachTheSystemAndPowerActionsWaitBehindACountdown) {
    writeIni("[alarm]\r\nactiondelay=1\r\n");
    startWith("1,会議,1,1,1,1,1,1,1,10,00,00,shutdownxp,0\r\n1,b,1,1,1,1,1,1,1,10,00,01,rebootxp,0\r\n"
              "1,c,1,1,1,1,1,1,1,10,00,02,logoffxp,0\r\n1,d,1,1,1,1,1,1,1,09,00,00,Lock,0\r\n"
              "1,e,1,1,1,1,1,1,1,09,00,01,sendkeys Hi~,0\r\n1,f,1,1,1,1,1,1,1,11,00,00,EXIT,0\r\n");
    tickAt(9, 0, 0);
    tickAt(9, 0, 1);
    EXPECT_EQ(system_.calls, (std::vector<std::string>{"lock", "keys"}));
    ASSERT_EQ(system_.typed.size(), 1u);
    EXPECT_EQ(system_.typed[0].size(), 4u);  // H, i, Enter down and up
    system_.calls.clear();
    tickAt(10, 0, 0);
    ASSERT_EQ(form_->runner().openCountdowns(), 1u);
    const HWND first = form_->runner().countdown(0)->hwnd();
    EXPECT_EQ(dialogText(first, IDC_POWER_TEXT), "会議: 1秒後にシャットダウンします。");
    EXPECT_TRUE(GetWindowLongW(first, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageW(first, WM_COMMAND, MAKEWPARAM(IDC_POWER_RUN_NOW, BN_CLICKED), 0);
    EXPECT_EQ(system_.calls, std::vector<std::string>{"poweroff"});
    tickAt(10, 0, 1);
    SendMessageW(form_->runner().countdown(0)->hwnd(), WM_COMMAND, IDCANCEL, 0);  // Escape
    tickAt(10, 0, 2);
    for (int i = 0; i < 150 && form_->runner().openCountdowns() > 0; ++i, Sleep(10)) pump();
    EXPECT_EQ(system_.calls, (std::vector<std::string>{"poweroff", "logoff"}));  // c ran at zero, b never
    const HWND window = hwnd();
    tickAt(11, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

// The machine is woken for the next alarm while the setting asks for it.
TEST_F(FiringTest, TheWakeTimerFollowsTheNextAlarm) {
    writeIni("[alarm]\r\nwake=1\r\n");
    startWith("1,朝会,0,1,1,1,1,1,0,10,30,00,,0\r\n");
    const std::int64_t today = clock_.time.day * kSecondsPerDay;
    EXPECT_EQ(wake_.calls, std::vector<std::string>{"arm:" + std::to_string(today + 10 * 3600 + 30 * 60)});
    command(IDM_ALARM_DELETE, true);
    EXPECT_EQ(wake_.calls.back(), "cancel");
}

// Back from sleep: the alarm due shortly before the wake fires, the older
// one is listed, and neither is lost without a word.
TEST_F(FiringTest, AfterASleepTheGracedAlarmFiresAndTheOlderOneIsListed) {
    writeIni("[alarm]\r\nmissedgrace=60\r\n");
    startWith("1,朝会,0,1,1,1,1,1,0,10,01,00,,1\r\n1,電話,0,1,1,1,1,1,0,10,04,30,,0\r\n");
    tickAt(10, 0, 0);
    SendMessageW(hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    tickAt(10, 5, 0);
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"alarm:電話"});
    const HWND missed = form_->missedAlarms().hwnd();
    ASSERT_NE(missed, nullptr);
    EXPECT_EQ(windowText(missed), "実行されなかったアラーム");
    ASSERT_EQ(SendDlgItemMessageW(missed, IDC_MISSED_LIST, LB_GETCOUNT, 0, 0), 1);
    wchar_t line[128] = {};
    SendDlgItemMessageW(missed, IDC_MISSED_LIST, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(narrow(line), "朝会 月火水木金 10:01:00");
    EXPECT_NE(fileText().find("朝会"), std::string::npos);  // a missed delete-after-run row stays
    SendMessageW(missed, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(form_->missedAlarms().hwnd(), nullptr);
}

}  // namespace
}  // namespace kolvi::test
