// The real kolvialarm.exe under Wine: start-up, the list, settings at exit,
// one instance, the tray.
#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

const char* const kAlarms =
    "1.1\r\n"
    "0,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n"
    "1,昼休み,0,1,1,1,1,1,0,12,00,00,,0\r\n"
    "1,起床,1,1,1,1,1,1,1,06,30,00,,0\r\n";

TEST_F(ProgramTest, OpensTheRememberedFileSortedAndSavesACheckBoxClick) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms(kAlarms);
    start();
    const HWND main = waitForWindow(L"KolviAlarmMainForm");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(narrow(windowText(main)), "list.alm - Kolviアラーム");
    const HWND lv = FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_NE(lv, nullptr);
    EXPECT_TRUE(IsWindowVisible(lv));
    ASSERT_EQ(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(header(lv, 3), "時刻 △");
    EXPECT_EQ(cell(lv, 0, 1), "起床");
    EXPECT_EQ(cell(lv, 1, 1), "朝会");
    EXPECT_EQ(cell(lv, 2, 3), "12:00:00");
    EXPECT_EQ(cell(lv, 2, 0), "3:");

    clickCheckBox(lv, 1);  // 朝会 goes on; the file is rewritten in display order
    EXPECT_TRUE(waitForAlarms(
        "1.1\r\n"
        "1,起床,1,1,1,1,1,1,1,06,30,00,,0\r\n"
        "1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n"
        "1,昼休み,0,1,1,1,1,1,0,12,00,00,,0\r\n"))
        << alarms();

    clickHeader(lv, 3);
    EXPECT_EQ(waitFor("時刻 ▽", [&] { return header(lv, 3); }), "時刻 ▽");
    EXPECT_EQ(cell(lv, 0, 1), "昼休み");
}

TEST_F(ProgramTest, WithoutSettingsNoFileIsOpen) {
    start();
    const HWND main = waitForWindow(L"KolviAlarmMainForm");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(narrow(windowText(main)), "Kolviアラーム");
    const HWND lv = FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_NE(lv, nullptr);
    EXPECT_FALSE(IsWindowVisible(lv));
}

// A remembered file that has gone, or that holds garbage, is reported at
// start and the program runs with no file open; the broken file is not
// touched.
TEST_F(ProgramTest, ReportsAMissingOrBrokenRememberedFileAndStartsWithoutIt) {
    struct Case {
        const char* content;  // nullptr: no file
        const char* message;
    };
    const Case cases[] = {
        {nullptr, "ファイルが見つかりません。"},
        {"\0\0\0\0\0\0\0\0", "ファイル形式が正しくありません。"},
        {"1.0\r\n", "このバージョンのアラームファイルは開けません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        writeIni("[list]\r\nlastopen=list.alm\r\n");
        DeleteFileW(alarmPath().c_str());
        const std::string raw = c.content == nullptr ? std::string() : std::string(c.content, c.content[0] ? 5 : 8);
        if (c.content != nullptr) writeFile(alarmPath(), raw);
        start();
        const HWND box = waitForWindow(L"#32770");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(narrow(windowText(box)), "Kolviアラーム");
        const HWND textControl = GetDlgItem(box, 0xFFFF);
        ASSERT_NE(textControl, nullptr);
        EXPECT_EQ(narrow(windowText(textControl)), std::string(c.message) + "\r\n" + narrow(alarmPath()));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        const HWND main = waitForWindow(L"KolviAlarmMainForm");
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(narrow(windowText(main)), "Kolviアラーム");
        stop();
        EXPECT_EQ(readFile(alarmPath()), c.content == nullptr ? "<missing>" : raw);
    }
}

TEST_F(ProgramTest, FirstStartUsesTheDefaultsAndWritesThemAtExit) {
    start();
    const HWND main = waitForWindow(L"KolviAlarmMainForm");
    ASSERT_NE(main, nullptr);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_NEAR(r.right - r.left, 7000 / 15, 1);
    EXPECT_NEAR(r.bottom - r.top, 3500 / 15, 1);
    const HWND lv = FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
    EXPECT_EQ(SendMessageW(lv, LVM_GETCOLUMNWIDTH, 1, 0), 40);
    EXPECT_EQ(header(lv, 3), "時刻 △");
    exitBy(kFileExit);

    EXPECT_EQ(iniInt(L"window", L"state"), 0);
    EXPECT_EQ(iniInt(L"window", L"left"), 0);
    EXPECT_EQ(iniInt(L"window", L"top"), 0);
    EXPECT_NEAR(iniInt(L"window", L"width"), 7000, 15);
    EXPECT_NEAR(iniInt(L"window", L"height"), 3500, 15);
    EXPECT_EQ(iniInt(L"list", L"sortkey"), 3);
    EXPECT_EQ(iniInt(L"list", L"sortorder"), 0);
    const int widths[] = {40, 40, 100, 70, 200, 40};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(iniInt(L"list", (L"colwidth" + std::to_wstring(c + 1)).c_str()), widths[c]);
    }
    EXPECT_EQ(iniText(L"list", L"lastopen"), "");
    EXPECT_EQ(iniInt(L"list", L"showtooltip"), 0);
    EXPECT_EQ(iniInt(L"statusbar", L"visible"), 1);
    // Keys that are only ever written by hand stay out of the file.
    EXPECT_EQ(iniText(L"window", L"arpha"), "<none>");
    EXPECT_EQ(iniText(L"window", L"closeconfirm"), "<none>");
}

TEST_F(ProgramTest, ASecondCopyEndsAtOnceAndChangesNothing) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms(kAlarms);
    start();
    ASSERT_NE(waitForWindow(L"KolviAlarmMainForm"), nullptr);
    PROCESS_INFORMATION second{};
    start(second, L"");
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(second.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(second.hThread);
    CloseHandle(second.hProcess);
    EXPECT_EQ(fromCp932(readFile(dir_ + L"\\kolvialarm.ini")), "[list]\r\nlastopen=list.alm\r\n");
    EXPECT_EQ(alarms(), kAlarms);
}

TEST_F(ProgramTest, MinStartsInTheTrayAndATrayExitStartsThereAgain) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms(kAlarms);
    start(L"min");
    const HWND main = waitForWindow(L"KolviAlarmMainForm", 20000, false);
    ASSERT_NE(main, nullptr);
    Sleep(500);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(IsIconic(main));
    exitBy(kTrayExit);
    EXPECT_EQ(iniInt(L"window", L"state"), 1);
    EXPECT_EQ(iniText(L"list", L"lastopen"), "list.alm");

    start();
    const HWND again = waitForWindow(L"KolviAlarmMainForm", 20000, false);
    ASSERT_NE(again, nullptr);
    Sleep(500);
    EXPECT_FALSE(IsWindowVisible(again));
    exitBy(kTrayExit);
}

TEST_F(ProgramTest, AMaximisedWindowKeepsItsNormalPlaceAcrossRuns) {
    writeIni("[window]\r\nstate=2\r\nleft=1500\r\ntop=1200\r\nwidth=6000\r\nheight=3000\r\n");
    start();
    const HWND main = waitForWindow(L"KolviAlarmMainForm");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsZoomed(main));
    // (Another process cannot read the normal placement under Wine; the
    // round trip through the settings file below shows it was kept.)
    exitBy(kFileExit);
    EXPECT_EQ(iniInt(L"window", L"state"), 2);
    EXPECT_EQ(iniInt(L"window", L"left"), 1500);
    EXPECT_EQ(iniInt(L"window", L"top"), 1200);
    EXPECT_EQ(iniInt(L"window", L"width"), 6000);
    EXPECT_EQ(iniInt(L"window", L"height"), 3000);
}

TEST_F(ProgramTest, CloseConfirmAsksOnTheCloseBoxOnly) {
    writeIni("[window]\r\ncloseconfirm=1\r\n");
    start();
    const HWND main = waitForWindow(L"KolviAlarmMainForm");
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    const HWND box = waitForWindow(L"#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(narrow(windowText(box)), "Kolviアラーム");
    EXPECT_EQ(narrow(windowText(GetDlgItem(box, 0xFFFF))), "終了するとアラームは停止します。");
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    Sleep(500);
    EXPECT_EQ(WaitForSingleObject(process_.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(IsWindowVisible(main));
    exitBy(kFileExit);  // no question this way
    EXPECT_EQ(iniInt(L"window", L"closeconfirm"), 1);
}

}  // namespace
}  // namespace kolvi::e2e
