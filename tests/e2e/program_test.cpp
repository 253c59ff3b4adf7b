// The real kolvialarm.exe under Wine: the remembered file and a saved click,
// one instance per program file, starting in the tray.
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
    const HWND main = mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(windowText(main), "list.alm - Kolviアラーム");
    const HWND lv = FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_EQ(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(cell(lv, 0, 1), "起床");
    EXPECT_EQ(cell(lv, 2, 3), "12:00:00");

    // The check box of 朝会 (row 2): a click at the left edge of the row.
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    void* remote = VirtualAllocEx(process_.hProcess, nullptr, sizeof bounds, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(process_.hProcess, remote, &bounds, sizeof bounds, nullptr);
    SendMessageW(lv, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process_.hProcess, remote, &bounds, sizeof bounds, nullptr);
    VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
    const LPARAM at = MAKELPARAM(bounds.left + GetSystemMetrics(SM_CXSMICON) / 2 + 2, (bounds.top + bounds.bottom) / 2);
    PostMessageW(lv, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(lv, WM_LBUTTONUP, 0, at);
    const std::string saved =
        "1.1\r\n"
        "1,起床,1,1,1,1,1,1,1,06,30,00,,0\r\n"
        "1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n"
        "1,昼休み,0,1,1,1,1,1,0,12,00,00,,0\r\n";
    EXPECT_EQ(waitFor(saved, [&] { return alarms(); }), saved);
}

TEST_F(ProgramTest, ASecondCopyEndsAtOnceAndChangesNothing) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms(kAlarms);
    start();
    ASSERT_NE(mainWindow(), nullptr);
    PROCESS_INFORMATION second{};
    start(second, "");
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(second.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(second.hThread);
    CloseHandle(second.hProcess);
    EXPECT_EQ(fromCp932(readRaw(file("kolvialarm.ini"))), "[list]\r\nlastopen=list.alm\r\n");
    EXPECT_EQ(alarms(), kAlarms);
}

TEST_F(ProgramTest, MinStartsInTheTrayAndATrayExitStartsThereAgain) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms(kAlarms);
    start("min");
    const HWND main = mainWindow(20000, false);
    ASSERT_NE(main, nullptr);
    Sleep(500);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(IsIconic(main));
    exitBy(kTrayExit);
    EXPECT_EQ(iniInt("window", "state"), 1);

    start();
    const HWND again = mainWindow(20000, false);
    ASSERT_NE(again, nullptr);
    Sleep(500);
    EXPECT_FALSE(IsWindowVisible(again));
}

}  // namespace
}  // namespace kolvi::e2e
