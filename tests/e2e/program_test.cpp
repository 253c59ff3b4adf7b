// The real kolvialarm.exe under Wine from start to exit: the remembered file,
// one copy at a time, the tray, and a settings file of the user's that it must
// read and write without spoiling.
#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

TEST_F(ProgramTest, RunsOnTheRememberedFileAloneThenInTheTrayAndKeepsTheSettingsFileWhole) {
    // Hidden, with a line no code page decodes in a section of the user's own.
    prepare("0,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n1,昼休み,0,1,1,1,1,1,0,12,00,00,,0\r\n"
            "1,起床,1,1,1,1,1,1,1,06,30,00,,0\r\n",
            "[alarm]\r\nkey5=00:10:00\r\n[mine]\r\nnote=\x81\x20\xff\r\n");
    SetFileAttributesW(widen(file("kolvialarm.ini")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_NE(start(), nullptr);
    PROCESS_INFORMATION second = launch();
    EXPECT_EQ(WaitForSingleObject(second.hProcess, kPatienceMs), WAIT_OBJECT_0) << "a second copy kept running";
    TerminateProcess(second.hProcess, 1);
    CloseHandle(second.hThread);
    CloseHandle(second.hProcess);
    stop();

    {  // In the tray when asked, with the remembered file locked for the moment.
        const win32::UniqueFile lock(CreateFileW(widen(file("list.alm")).c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        const HWND inTray = start("min");
        ASSERT_NE(inTray, nullptr);
        EXPECT_EQ(closeBox(), "ファイルを開けません。\r\n" + file("list.alm"));
        // Shown minimised once the box is closed, it goes to the tray.
        EXPECT_EQ(waitFor(FALSE, [inTray] { return IsWindowVisible(inTray); }), FALSE);
        stop(WM_COMMAND, kTrayExit);
    }
    const std::string ini = test::readRaw(file("kolvialarm.ini"));
    for (const char* line : {"lastopen=list.alm\r\n", "key5=00:10:00\r\n", "[mine]\r\nnote=\x81\x20\xff\r\n",
                             "state=1\r\n"}) {
        EXPECT_NE(ini.find(line), std::string::npos) << line << " is not in:\n" << ini;
    }
    EXPECT_NE(GetFileAttributesW(widen(file("kolvialarm.ini")).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// Started in the tray: the tip the tray shows while the pointer rests on the
// icon names the file and the next alarm, also when the tray announced
// itself after the icon was added.
TEST_F(ProgramTest, TheTrayTipNamesTheFileAndTheNextAlarm) {
    prepare("1,起床,1,1,1,1,1,1,1,12,34,56,,0\r\n");  // every day, so it is next within a day
    ASSERT_NE(start("min"), nullptr);
    const HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    ASSERT_NE(tray, nullptr) << "no notification area";
    RECT area{};
    GetWindowRect(tray, &area);
    // The only icon sits at the tray's right end. The pointer rests on it
    // for the tip's delay; every two seconds it moves a little, should the
    // tip have shown before the program sent its text.
    int step = 0;
    const std::string expected = "Kolviアラーム\r\nlist.alm\r\n次: 起床 12:34:56";
    EXPECT_EQ(waitFor(expected, [&] {
        if (step++ % 40 == 0) SetCursorPos(area.right - 8 - step / 40 % 4, (area.top + area.bottom) / 2);
        HWND tip = nullptr;  // the tray's tip window
        do tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr);
        while (tip != nullptr && GetWindow(tip, GW_OWNER) != tray);
        return tip != nullptr && IsWindowVisible(tip) ? windowText(tip).substr(0, expected.size()) : std::string();
    }), expected);
    stop(WM_COMMAND, kTrayExit);
}

}  // namespace
}  // namespace kolvi::e2e
