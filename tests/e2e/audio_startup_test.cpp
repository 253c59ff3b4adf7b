// Start with Windows and the "will it ring?" check, seen from outside: the
// file menu writes the Run entry of the real program file, and the status
// bar says beside a sound alarm why it will not be heard.
#include <memory>

#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

constexpr int kFileStartup = 1008;  // "Windows の起動時に開始(&W)"
constexpr int kStatusBarId = 101;

// The Run entry named after the program; "" when there is none.
std::string runEntry() {
    wchar_t value[1024] = L"";
    DWORD bytes = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Kolviアラーム",
                        RRF_RT_REG_SZ, nullptr, value, &bytes) == ERROR_SUCCESS
               ? narrow(value)
               : "";
}

// A status bar panel of another process: the text is fetched into memory of
// that process and read from there.
std::string panelText(HWND status, int panel) {
    DWORD pid = 0;
    GetWindowThreadProcessId(status, &pid);
    const std::unique_ptr<void, decltype(&CloseHandle)> process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid), &CloseHandle);
    wchar_t text[1024] = {};
    void* remote = VirtualAllocEx(process.get(), nullptr, sizeof text, MEM_COMMIT, PAGE_READWRITE);
    if (remote == nullptr) return "<no memory>";
    SendMessageTimeoutW(status, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(remote),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    ReadProcessMemory(process.get(), remote, text, sizeof text - sizeof(wchar_t), nullptr);
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return narrow(text);
}

using AudioStartupTest = ProgramTest;

TEST_F(AudioStartupTest, TheFileMenuItemWritesAndRemovesTheRunEntryOfTheRealProgram) {
    prepare("");
    const HWND main = start();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_COMMAND, kFileStartup, 0);
    const std::string entry = "\"" + file("kolvialarm.exe") + "\" min";
    EXPECT_EQ(waitFor(entry, runEntry), entry);
    PostMessageW(main, WM_COMMAND, kFileStartup, 0);
    EXPECT_EQ(waitFor(std::string(), runEntry), "");
}

// A sound alarm in an hour: its file is missing, or there is no output device.
TEST_F(AudioStartupTest, TheStatusBarSaysWhyTheNextSoundAlarmWillNotBeHeard) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::string hour = std::to_string((now.wHour + 1) % 24);
    test::writeRaw(file("ring.wav"), "RIFF");
    const std::pair<std::string, std::string> cases[] = {
        {"nothere.wav", " — 音が出ません (ファイルがありません)"},
        {"ring.wav", " — 音が出ません (出力装置なし)"},
    };
    // With no audio driver the system has no output device; the prefix's
    // own driver comes back at the end.
    constexpr wchar_t kDrivers[] = L"Software\\Wine\\Drivers";
    wchar_t driver[64] = L"";
    DWORD bytes = sizeof driver;
    const bool hadDriver =
        RegGetValueW(HKEY_CURRENT_USER, kDrivers, L"Audio", RRF_RT_REG_SZ, nullptr, driver, &bytes) == ERROR_SUCCESS;
    const std::shared_ptr<void> restore(nullptr, [&](void*) {
        if (hadDriver) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kDrivers, L"Audio", REG_SZ, driver, bytes);
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kDrivers, L"Audio");
        }
    });
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kDrivers, L"Audio", REG_SZ, L"", sizeof(wchar_t)), ERROR_SUCCESS);
    for (const auto& [sound, reason] : cases) {
        prepare("1,鳴る,1,1,1,1,1,1,1," + hour + ",30,00," + sound + ",0\r\n");
        const HWND main = start();
        ASSERT_NE(main, nullptr);
        const HWND status = GetDlgItem(main, kStatusBarId);
        const auto ends = [&] {
            const std::string text = panelText(status, 1);
            return text.starts_with("次: 鳴る ") && text.ends_with(reason) ? reason : text;
        };
        EXPECT_EQ(waitFor(reason, ends), reason);
        stop();
    }
}

}  // namespace
}  // namespace kolvi::e2e
