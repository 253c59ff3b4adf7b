// The editor in the real program with real key presses: Enter edits the
// current row, Escape leaves it as it was, and a countdown added from the
// menu fires and deletes itself.
#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

TEST_F(ProgramTest, EnterEditsTheCurrentRowEscapeLeavesItAndAMenuCountdownFiresAndGoes) {
    const std::string morning = "1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n";
    prepare(morning + "1,夜,1,1,1,1,1,1,1,22,00,00,,0\r\n");
    const HWND main = start();
    ASSERT_NE(main, nullptr);
    SetForegroundWindow(main);
    ASSERT_EQ(waitFor(main, [] { return GetForegroundWindow(); }), main);
    press({{VK_DOWN}, {VK_RETURN}});
    const HWND editor = waitForWindow(L"#32770", true, 0, "アラームの編集");
    ASSERT_NE(editor, nullptr);
    press({{VK_MENU, 'N'}, {'X'}, {VK_ESCAPE}});  // 名前(N)
    EXPECT_EQ(waitFor(FALSE, [editor] { return IsWindow(editor); }), FALSE);
    settle(main, 0);  // the save after the editor, if any, is done
    EXPECT_EQ(alarms(), "1.1\r\n" + morning + "1,夜,1,1,1,1,1,1,1,22,00,00,,0\r\n");

    press({{VK_RETURN}});
    ASSERT_NE(waitForWindow(L"#32770", true, 0, "アラームの編集"), nullptr);
    press({{VK_MENU, 'N'}, {'N'}, {'E'}, {'W'}, {VK_RETURN}});
    const std::string renamed = "1.1\r\n" + morning + "1,new,1,1,1,1,1,1,1,22,00,00,,0\r\n";
    EXPECT_EQ(waitFor(renamed, [&] { return alarms(); }), renamed);

    press({{VK_MENU, 'A'}, {'A'}});  // アラーム(A) → 追加(A)...
    ASSERT_NE(waitForWindow(L"#32770", true, 0, "アラームの追加"), nullptr);
    // タイマー(T), then 時間(M): 0 hours, 0 minutes, 3 seconds.
    press({{VK_MENU, 'T'}, {VK_MENU, 'M'}, {'0'}, {VK_TAB}, {'0'}, {VK_TAB}, {'3'}, {VK_RETURN}});
    const auto added = [&] { return alarms().find(",タイマー,1,1,1,1,1,1,1,") != std::string::npos; };
    EXPECT_TRUE(waitFor(true, added)) << alarms();
    EXPECT_EQ(closeBox(), "タイマー");
    EXPECT_EQ(waitFor(renamed, [&] { return alarms(); }), renamed);
}

}  // namespace
}  // namespace kolvi::e2e
