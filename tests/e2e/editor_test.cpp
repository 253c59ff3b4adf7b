// The editor in the real program with real key presses: a countdown added
// from the menu fires and deletes itself, an edit changes the file, a
// cancelled edit changes nothing.
#include <vector>

#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

// Presses and releases each key in turn; a key with a modifier is written as
// {modifier, key}.
void press(std::initializer_list<std::vector<WORD>> chords) {
    for (const std::vector<WORD>& chord : chords) {
        std::vector<INPUT> inputs;
        for (const WORD key : chord) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = key;
            inputs.push_back(in);
        }
        for (auto it = chord.rbegin(); it != chord.rend(); ++it) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = *it;
            in.ki.dwFlags = KEYEVENTF_KEYUP;
            inputs.push_back(in);
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        Sleep(150);
    }
}

void typeText(const std::wstring& text) {
    for (const wchar_t c : text) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = c;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
    }
    Sleep(150);
}

class EditorE2eTest : public ProgramTest {
protected:
    HWND startOn(const std::string& lines) {
        writeIni("[list]\r\nlastopen=list.alm\r\n");
        writeAlarms("1.1\r\n" + lines);
        start();
        const HWND main = mainWindow();
        if (main != nullptr) SetForegroundWindow(main);
        Sleep(300);
        return main;
    }
    HWND editor(const std::string& title) {
        const HWND window = waitForWindow(L"#32770");
        return window != nullptr && windowText(window) == title ? window : nullptr;
    }
};

TEST_F(EditorE2eTest, ACountdownFromTheMenuFiresAndDeletesItself) {
    ASSERT_NE(startOn(""), nullptr);
    press({{VK_MENU, 'A'}, {'A'}});  // アラーム(A) → 追加(A)...
    ASSERT_NE(editor("アラームの追加"), nullptr);
    press({{VK_MENU, 'T'}, {VK_MENU, 'M'}});  // タイマー(T), then 時間(M): the hours
    typeText(L"0");
    press({{VK_TAB}});
    typeText(L"0");
    press({{VK_TAB}});
    typeText(L"5");
    press({{VK_RETURN}});
    const std::string added = alarms();
    EXPECT_NE(added.find(",タイマー,1,1,1,1,1,1,1,"), std::string::npos) << added;
    EXPECT_EQ(fromCp932(readRaw(file("timer.history"))), "タイマー,0,0,5,,1\r\n");

    const HWND box = waitForWindow(L"#32770", 15000, true, 0xFFFF, "タイマー");
    ASSERT_NE(box, nullptr) << "the countdown did not fire";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(waitFor("1.1\r\n", [&] { return alarms(); }), "1.1\r\n");
}

TEST_F(EditorE2eTest, EnterEditsTheCurrentRowAndEscapeLeavesItAsItWas) {
    const HWND main = startOn("1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n1,夜,1,1,1,1,1,1,1,22,00,00,,0\r\n");
    ASSERT_NE(main, nullptr);
    press({{VK_DOWN}, {VK_RETURN}});  // the second row, then Enter
    ASSERT_NE(editor("アラームの編集"), nullptr);
    press({{VK_ESCAPE}});
    Sleep(300);
    EXPECT_EQ(alarms(), "1.1\r\n1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n1,夜,1,1,1,1,1,1,1,22,00,00,,0\r\n");

    press({{VK_RETURN}});  // the same row is still current
    ASSERT_NE(editor("アラームの編集"), nullptr);
    press({{VK_MENU, 'N'}});
    typeText(L"夜更かし");
    press({{VK_RETURN}});
    EXPECT_EQ(waitFor("1.1\r\n1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n1,夜更かし,1,1,1,1,1,1,1,22,00,00,,0\r\n",
                      [&] { return alarms(); }),
              "1.1\r\n1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n1,夜更かし,1,1,1,1,1,1,1,22,00,00,,0\r\n");
}

}  // namespace
}  // namespace kolvi::e2e
