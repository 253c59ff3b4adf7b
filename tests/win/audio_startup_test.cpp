// The real Run key behind the file menu's start-with-Windows item, and the
// real Core Audio output: its answer, and the program's session volume during
// a fade-in.
#include "notify/win32/sound_form.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_audio_output.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_startup_registry.h"
#include "win/main_form_fixture.h"

namespace kolvi::test {
namespace {

using AudioStartupTest = MainFormFixture;

TEST_F(AudioStartupTest, TheFileMenuItemWritesAndRemovesTheRealRunEntryAndFollowsIt) {
    win32::Win32StartupRegistry registry;
    ASSERT_EQ(registry.removeEntry(), "");
    startup_ = &registry;
    start("");
    const HMENU fileMenu = GetSubMenu(GetMenu(hwnd()), 0);
    const auto ticked = [&] {
        SendMessageW(hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(fileMenu), 0);
        return (GetMenuState(fileMenu, IDM_FILE_STARTUP, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    command(IDM_FILE_STARTUP);
    EXPECT_EQ(registry.readEntry(), "\"" + win32::narrow(win32::programPath()) + "\" min");
    EXPECT_TRUE(ticked());
    ASSERT_EQ(registry.writeEntry("\"C:\\other\\kolvialarm.exe\" min"), "");  // another copy's
    EXPECT_FALSE(ticked());
    command(IDM_FILE_STARTUP);
    command(IDM_FILE_STARTUP);
    EXPECT_EQ(registry.readEntry(), std::nullopt);
    EXPECT_FALSE(ticked());
}

TEST_F(AudioStartupTest, CoreAudioAnswersOrFailsAndTheSessionVolumeRisesDuringAFadeIn) {
    win32::Win32AudioOutput output;
    const std::optional<OutputState> state = output.defaultOutput();
    if (!state || !state->device || !output.setSessionVolume(1.0f)) GTEST_SKIP() << "no audio device under this Wine";
    writeIni("fadein=2\r\n");
    audio_ = &output;
    start("1,a,1,1,1,1,1,1,1,10,00,00,a.wav,0\r\n");
    clock_.ms = 1000;
    tickAt(10, 0, 0);
    EXPECT_FLOAT_EQ(*output.sessionVolume(), 0.1f);
    EXPECT_EQ(windowText(GetDlgItem(form_->runner().window(0)->hwnd(), IDC_ALARM_NAME)), "a — 音が出ません (ファイルがありません)");
    clock_.ms = 2000;  // half-way: the window's timer steps it
    EXPECT_TRUE(pumpUntil([&] { return *output.sessionVolume() > 0.5f; }));
    EXPECT_FLOAT_EQ(*output.sessionVolume(), 0.55f);
    clock_.ms = 3000;
    EXPECT_TRUE(pumpUntil([&] { return *output.sessionVolume() == 1.0f; }));
}

}  // namespace
}  // namespace kolvi::test
