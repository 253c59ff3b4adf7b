// The real program against what users and their machines do to it: kills in
// the middle of saving, hidden or damaged settings files, a remembered file
// that is briefly away, typing into the list, a save that cannot be done.
#include <random>

#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

constexpr wchar_t kListClass[] = WC_LISTVIEWW;

std::string rows(int count) {
    std::string text = "1.1\r\n";
    for (int i = 0; i < count; ++i) {
        text += "1,アラーム" + std::to_string(i) + "号①髙,1,1,1,1,1,1,1,23," + std::to_string(10 + i % 50) + ",00,,0\r\n";
    }
    return text;
}

// A file the program can open again: the version line, then complete alarm
// lines of fourteen fields, each ended by CR LF.
bool isWhole(const std::string& text, int rowCount) {
    if (text.rfind("1.1\r\n", 0) != 0 || text.size() < 2 || text.substr(text.size() - 2) != "\r\n") return false;
    int lines = 0;
    for (std::size_t at = 5; at < text.size(); ++lines) {
        const std::size_t end = text.find("\r\n", at);
        if (std::count(text.begin() + static_cast<std::ptrdiff_t>(at), text.begin() + static_cast<std::ptrdiff_t>(end),
                       ',') != 13) {
            return false;
        }
        at = end + 2;
    }
    return lines == rowCount;
}

class ReliabilityTest : public ProgramTest {
protected:
    HWND listView(HWND main) { return FindWindowExW(main, nullptr, kListClass, nullptr); }
    // A key press as the keyboard sends it (repeat count 1: the list ignores
    // typed characters without key data).
    void key(HWND window, WPARAM vk, wchar_t character = 0) {
        PostMessageW(window, WM_KEYDOWN, vk, 1);
        if (character != 0) PostMessageW(window, WM_CHAR, character, 1);
        PostMessageW(window, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
    }
    int focusedRow(HWND lv) { return static_cast<int>(SendMessageW(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)); }
    std::string errorBox(const std::string& firstLine) {
        const HWND box = waitForWindow(L"#32770");
        if (box == nullptr) return "<no box>";
        const std::string text = windowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return text.rfind(firstLine, 0) == 0 ? text : "<" + text + ">";
    }
};

TEST_F(ReliabilityTest, AKilledSaveLeavesAWholeFileAndTheNextSaveClearsWhatItLeft) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms(rows(2000));
    std::mt19937 random(20261207);
    for (int cycle = 0; cycle < 6; ++cycle) {
        start();
        const HWND main = mainWindow();
        ASSERT_NE(main, nullptr);
        for (int i = 0; i < 40; ++i) key(listView(main), VK_SPACE, L' ');  // back-to-back saves
        Sleep(std::uniform_int_distribution<DWORD>(50, 600)(random));
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
        ASSERT_TRUE(isWhole(alarms(), 2000)) << "after kill " << cycle << ": " << alarms().substr(0, 200);
    }
    start();
    const HWND main = mainWindow();
    ASSERT_NE(main, nullptr);
    const std::string before = alarms();
    key(listView(main), VK_SPACE, L' ');
    EXPECT_EQ(waitFor("changed", [&] { return alarms() == before ? "same" : "changed"; }), "changed");
    EXPECT_EQ(waitForWindow(L"#32770", 500), nullptr) << "a save failed";
    EXPECT_EQ(dir_.listing(), "kolvialarm.exe;kolvialarm.ini;list.alm;");
}

TEST_F(ReliabilityTest, AHiddenSettingsFileIsReadAndKeepsItsKeysAndItsAttribute) {
    writeIni("[list]\r\nlastopen=list.alm\r\n[sound]\r\nenabletype=wav,mp3,mid\r\n[alarm]\r\nkey5=00:10:00\r\n");
    SetFileAttributesW(widen(file("kolvialarm.ini")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    writeAlarms(rows(3));
    start();
    const HWND main = mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(windowText(main), "list.alm - Kolviアラーム");
    exitBy(kFileExit);
    const std::string ini = fromCp932(readRaw(file("kolvialarm.ini")));
    EXPECT_NE(ini.find("enabletype=wav,mp3,mid\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("key5=00:10:00\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("lastopen=list.alm\r\n"), std::string::npos) << ini;
    EXPECT_NE(GetFileAttributesW(widen(file("kolvialarm.ini")).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(ReliabilityTest, ASettingsFileWithABadLineIsStillWrittenAndKeepsTheLine) {
    const std::string bad = "note=\x81\x20\xff\r\n";
    writeRaw(file("kolvialarm.ini"), "[list]\r\nlastopen=list.alm\r\n[mine]\r\n" + bad);
    writeAlarms(rows(3));
    start();
    ASSERT_NE(mainWindow(), nullptr);
    exitBy(kFileExit);
    const std::string ini = readRaw(file("kolvialarm.ini"));
    EXPECT_NE(ini.find("[mine]\r\n" + bad), std::string::npos);
    EXPECT_EQ(iniInt("window", "state"), 0);
    EXPECT_EQ(iniInt("list", "colwidth3"), 100);
}

TEST_F(ReliabilityTest, ARememberedFileThatWasLockedAtStartIsStillRememberedAtExit) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms(rows(3));
    const win32::UniqueFile lock(CreateFileW(widen(file("list.alm")).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    start();
    EXPECT_EQ(errorBox("ファイルを開けません。"), "ファイルを開けません。\r\n" + file("list.alm"));
    ASSERT_NE(mainWindow(), nullptr);
    exitBy(kFileExit);
    char value[64] = {};
    GetPrivateProfileStringA("list", "lastopen", "", value, sizeof value, file("kolvialarm.ini").c_str());
    EXPECT_STREQ(value, "list.alm");
}

TEST_F(ReliabilityTest, TypingInTheListMovesOnlyToARowWhoseNumberMatches) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms(rows(12));
    start();
    const HWND lv = listView(mainWindow());
    ASSERT_NE(lv, nullptr);
    key(lv, VK_DOWN);
    key(lv, VK_DOWN);  // row 3 is current now
    EXPECT_EQ(waitFor("2", [&] { return std::to_string(focusedRow(lv)); }), "2");
    key(lv, 'Z', L'z');
    Sleep(300);
    EXPECT_EQ(focusedRow(lv), 2);
    Sleep(1200);  // the list forgets what was typed
    key(lv, '7', L'0');
    key(lv, '7', L'7');  // "07:" is the seventh row
    EXPECT_EQ(waitFor("6", [&] { return std::to_string(focusedRow(lv)); }), "6");
    key(lv, VK_DELETE);
    EXPECT_EQ(waitFor("absent", [&] { return alarms().find("アラーム6号") == std::string::npos ? "absent" : "there"; }),
              "absent");
    EXPECT_NE(alarms().find("アラーム0号"), std::string::npos);
}

TEST_F(ReliabilityTest, AFailedSaveSaysWhy) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms(rows(3));
    SetFileAttributesW(widen(file("list.alm")).c_str(), FILE_ATTRIBUTE_READONLY);
    start();
    key(listView(mainWindow()), VK_SPACE, L' ');
    wchar_t reason[256] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0, reason,
                   256, nullptr);
    std::string expected = narrow(reason);
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r' || expected.back() == ' ')) {
        expected.pop_back();
    }
    EXPECT_EQ(errorBox("ファイルを保存できません。"),
              "ファイルを保存できません。\r\n" + file("list.alm") + "\r\n" + expected);
    SetFileAttributesW(widen(file("list.alm")).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace kolvi::e2e
