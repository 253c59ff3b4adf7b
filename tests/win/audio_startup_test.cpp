// The real Run key behind the file menu's start-with-Windows item, and the
// real Core Audio output: its answer, and the program's session volume during
// a fade-in.
#include <gtest/gtest.h>

#include "notify/win32/sound_form.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_audio_output.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_startup_registry.h"
#include "win/main_form_fixture.h"

namespace kolvi::test {
namespace {

using AudioStartupTest = MainFormFixture;

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The entry as the registry itself has it; "" when there is none.
std::wstring runEntry() {
    wchar_t value[1024] = L"";
    DWORD bytes = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Kolviアラーム", RRF_RT_REG_SZ, nullptr, value, &bytes) ==
                   ERROR_SUCCESS
               ? value
               : L"";
}

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
    EXPECT_FALSE(ticked());
    command(IDM_FILE_STARTUP);
    EXPECT_EQ(runEntry(), L"\"" + win32::programPath() + L"\" min");
    EXPECT_TRUE(ticked());
    // Another copy's entry is not this one; ticking replaces it.
    ASSERT_EQ(registry.writeEntry("\"C:\\other\\kolvialarm.exe\" min"), "");
    EXPECT_FALSE(ticked());
    command(IDM_FILE_STARTUP);
    EXPECT_TRUE(ticked());
    command(IDM_FILE_STARTUP);
    EXPECT_EQ(runEntry(), L"");
    EXPECT_FALSE(ticked());
    EXPECT_TRUE(desktop_.asked.empty());
}

TEST_F(AudioStartupTest, CoreAudioAnswersOrFailsAndTheSessionVolumeRisesDuringAFadeIn) {
    win32::Win32AudioOutput output;
    const std::optional<OutputState> state = output.defaultOutput();
    if (!state || !state->device || !output.sessionVolume()) GTEST_SKIP() << "no audio device under this Wine";
    EXPECT_GE(state->level, 0.0f);
    EXPECT_LE(state->level, 1.0f);
    ASSERT_TRUE(output.setSessionVolume(1.0f));

    writeIni("fadein=2\r\nsoundcheck=0\r\n");
    audio_ = &output;
    start("1,a,1,1,1,1,1,1,1,10,00,00,a.wav,0\r\n");
    clock_.ms = 1000;
    tickAt(10, 0, 0);
    ASSERT_EQ(form_->runner().openWindows(), 1u);
    EXPECT_NEAR(*output.sessionVolume(), 0.1f, 0.001f);
    clock_.ms = 2000;  // half-way: the window's timer steps it
    EXPECT_TRUE(pumpUntil([&] { return *output.sessionVolume() > 0.5f; }));
    EXPECT_NEAR(*output.sessionVolume(), 0.55f, 0.001f);
    clock_.ms = 3000;
    EXPECT_TRUE(pumpUntil([&] { return *output.sessionVolume() > 0.99f; }));
    form_->runner().closeAll();
}

}  // namespace
}  // namespace kolvi::test
