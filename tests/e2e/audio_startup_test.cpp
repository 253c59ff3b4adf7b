// Start with Windows and the "will it ring?" check, seen from outside: the
// file menu writes the Run entry of the real program file, and the status
// bar says beside a sound alarm why it will not be heard.
#include <memory>

#include "e2e/program_fixture.h"
#include "platform/win32/win32_startup_registry.h"

namespace kolvi::e2e {
namespace {

using AudioStartupTest = ProgramTest;

TEST_F(AudioStartupTest, TheFileMenuItemWritesAndRemovesTheRunEntryOfTheRealProgram) {
    prepare("");
    const HWND main = start();
    ASSERT_NE(main, nullptr);
    win32::Win32StartupRegistry registry;
    const auto entry = [&registry] { return registry.readEntry().value_or(""); };
    PostMessageW(main, WM_COMMAND, 1008, 0);  // "Windows の起動時に開始(&W)"
    EXPECT_EQ(waitFor("\"" + file("kolvialarm.exe") + "\" min", entry), "\"" + file("kolvialarm.exe") + "\" min");
    PostMessageW(main, WM_COMMAND, 1008, 0);
    EXPECT_EQ(waitFor(std::string(), entry), "");
}

// A sound alarm in an hour: its file is missing, or there is no output device
// (no audio driver; the prefix's own comes back at the end).
TEST_F(AudioStartupTest, TheStatusBarSaysWhyTheNextSoundAlarmWillNotBeHeard) {
    const HKEY key = HKEY_CURRENT_USER;
    wchar_t driver[64] = L"alsa";
    DWORD bytes = sizeof driver;
    RegGetValueW(key, L"Software\\Wine\\Drivers", L"Audio", RRF_RT_REG_SZ, nullptr, driver, &bytes);
    const std::shared_ptr<void> restore(nullptr, [&](void*) {
        RegSetKeyValueW(key, L"Software\\Wine\\Drivers", L"Audio", REG_SZ, driver, bytes);
    });
    ASSERT_EQ(RegSetKeyValueW(key, L"Software\\Wine\\Drivers", L"Audio", REG_SZ, L"", sizeof(wchar_t)), ERROR_SUCCESS);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    test::writeRaw(file("ring.wav"), "RIFF");
    for (const auto& [sound, reason] : {std::pair{"nothere.wav", " — 音が出ません (ファイルがありません)"},
                                        std::pair{"ring.wav", " — 音が出ません (出力装置なし)"}}) {
        prepare("1,鳴る,1,1,1,1,1,1,1," + std::to_string((now.wHour + 1) % 24) + ",30,00," + sound + ",0\r\n");
        const HWND status = GetDlgItem(start(), 101);
        DWORD pid = 0;  // the panel's text is fetched into memory of the program and read from there
        GetWindowThreadProcessId(status, &pid);
        const std::unique_ptr<void, decltype(&CloseHandle)> process(
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid), &CloseHandle);
        void* remote = VirtualAllocEx(process.get(), nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
        const auto panel = [&] {
            wchar_t text[1024] = {};
            SendMessageTimeoutW(status, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, nullptr);
            ReadProcessMemory(process.get(), remote, text, sizeof text - sizeof(wchar_t), nullptr);
            return narrow(text).starts_with("次: 鳴る ") && narrow(text).ends_with(reason) ? reason : narrow(text);
        };
        EXPECT_EQ(waitFor(std::string(reason), panel), reason);
        // The line is longer than 3/5 of the default width: the second panel
        // grows leftwards, and the first keeps what is left.
        int parts[2] = {};
        SendMessageTimeoutW(status, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, nullptr);
        ReadProcessMemory(process.get(), remote, parts, sizeof parts, nullptr);
        RECT client{};
        GetClientRect(status, &client);
        EXPECT_LT(parts[0], client.right * 2 / 5);
        stop();
    }
}

}  // namespace
}  // namespace kolvi::e2e
