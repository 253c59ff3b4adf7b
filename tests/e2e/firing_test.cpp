// Alarms firing in the real program under Wine, a few seconds after it
// starts: a sound heard from a notification window extended with the digit
// 5, and keys typed into a window of ours.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

constexpr int kAlarmName = 201;  // the notification window's message line

struct ClockTime {
    int hour, minute, second;
};

ClockTime inSeconds(int seconds) {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    const int total = (t.wHour * 3600 + t.wMinute * 60 + t.wSecond + seconds) % 86400;
    return {total / 3600, total / 60 % 60, total % 60};
}

std::string two(int v) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", v);
    return buffer;
}

std::string alarmLine(const std::string& name, ClockTime at, const std::string& file, bool deleteAfterRun) {
    return "1," + name + ",1,1,1,1,1,1,1," + two(at.hour) + "," + two(at.minute) + "," + two(at.second) + "," + file +
           "," + (deleteAfterRun ? "1" : "0");
}

// One second of a 440 Hz tone, 16-bit mono PCM at 8 kHz.
std::string toneWav() {
    const std::uint32_t rate = 8000, samples = 8000;
    std::string data;
    for (std::uint32_t i = 0; i < samples; ++i) {
        const auto v = static_cast<std::int16_t>(12000 * std::sin(2 * 3.14159265 * 440 * i / rate));
        data.push_back(static_cast<char>(v & 0xFF));
        data.push_back(static_cast<char>((v >> 8) & 0xFF));
    }
    auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    return "RIFF" + u32(36 + static_cast<std::uint32_t>(data.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
           u32(rate) + u32(rate * 2) + u16(2) + u16(16) + "data" + u32(static_cast<std::uint32_t>(data.size())) +
           data;
}

bool captureHasSound() {
    const std::string bytes = readRaw(fromUnixPath(KOLVI_AUDIO_CAPTURE));
    if (bytes == "<missing>") return false;
    for (const char b : bytes) {
        if (b != 0) return true;
    }
    return false;
}

using FiringE2eTest = ProgramTest;

TEST_F(FiringE2eTest, ASoundAlarmPlaysAndTheDigitFiveExtendsItByFiveMinutes) {
    DeleteFileW(widen(fromUnixPath(KOLVI_AUDIO_CAPTURE)).c_str());
    const std::string wav = file("beep.wav");
    writeRaw(wav, toneWav());
    writeIni("[list]\r\nlastopen=list.alm\r\n[alarm]\r\nkeyguard=1000\r\n");
    const std::string line = alarmLine("鐘", inSeconds(8), wav, false);
    writeAlarms("1.1\r\n" + line + "\r\n");
    start();
    const HWND box = waitForWindow(L"#32770", 20000, true, kAlarmName, "鐘");
    ASSERT_NE(box, nullptr) << "no notification window";
    // A 5 typed the moment it opens (meant for another program) is dropped.
    const auto pressFive = [box] {
        SetForegroundWindow(box);
        INPUT key[2] = {};
        key[0].type = key[1].type = INPUT_KEYBOARD;
        key[0].ki.wVk = key[1].ki.wVk = '5';
        key[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, key, sizeof(INPUT));
    };
    pressFive();
    EXPECT_EQ(windowText(box), "Kolviアラーム");
    bool sounded = false;
    for (int i = 0; i < 50 && !(sounded = captureHasSound()); ++i) Sleep(100);
    EXPECT_TRUE(sounded) << "no sound reached the audio device";
    Sleep(1200);
    EXPECT_TRUE(IsWindow(box));

    const ClockTime pressed = inSeconds(0);
    pressFive();
    for (int i = 0; i < 50 && IsWindow(box); ++i) Sleep(100);
    EXPECT_FALSE(IsWindow(box));

    // The extension is due five minutes after the key press (allowing for
    // the second turning over while the key travels).
    bool found = false;
    for (int i = 0; i < 50 && !found; ++i) {
        const std::string text = alarms();
        for (int slack = 0; slack <= 1 && !found; ++slack) {
            const int total = (pressed.hour * 3600 + pressed.minute * 60 + pressed.second + 300 + slack) % 86400;
            const ClockTime due{total / 3600, total / 60 % 60, total % 60};
            const std::string extension = "1,鐘の延長,1,1,1,1,1,1,1," + two(due.hour) + "," + two(due.minute) + "," +
                                          two(due.second) + "," + wav + ",1";
            found = text == "1.1\r\n" + line + "\r\n" + extension + "\r\n" ||
                    text == "1.1\r\n" + extension + "\r\n" + line + "\r\n";
        }
        if (!found) Sleep(100);
    }
    EXPECT_TRUE(found) << alarms();
}

LRESULT CALLBACK plainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(FiringE2eTest, SendKeysTypesIntoTheFocusedWindow) {
    writeIni("[list]\r\nlastopen=list.alm\r\n");
    writeAlarms("1.1\r\n" + alarmLine("入力", inSeconds(10), "sendkeys Hello +(ab)日本{LEFT}x", false) + "\r\n");
    start();
    ASSERT_NE(mainWindow(), nullptr);

    WNDCLASSW wc{};
    wc.lpfnWndProc = &plainWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KolviE2eTarget";
    RegisterClassW(&wc);
    const HWND target = CreateWindowExW(0, L"KolviE2eTarget", L"target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200,
                                        400, 200, nullptr, nullptr, wc.hInstance, nullptr);
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 24, target,
                                      nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(target);
    SetFocus(edit);
    std::string typed;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 25000 && typed != "Hello AB日x本") {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        typed = windowText(edit);
        Sleep(20);
    }
    EXPECT_EQ(typed, "Hello AB日x本");
    DestroyWindow(target);
}

}  // namespace
}  // namespace kolvi::e2e
