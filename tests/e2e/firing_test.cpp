// Alarms firing in the real program a few seconds after it starts: keys sent
// to the window that has the focus, and a sound really played, then extended
// by a real 5 key once the guard against keys meant for another program is
// over.
#include <cstdio>

#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

// An alarm line due so many seconds from now.
std::string alarmLine(const std::string& name, int inSeconds, const std::string& what, char deleteAfterRun = '0') {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    const int at = (t.wHour * 3600 + t.wMinute * 60 + t.wSecond + inSeconds) % 86400;
    char time[16];
    std::snprintf(time, sizeof time, "%02d,%02d,%02d", at / 3600, at / 60 % 60, at % 60);
    return "1," + name + ",1,1,1,1,1,1,1," + time + "," + what + "," + deleteAfterRun;
}

bool soundCaptured() {
    const std::string bytes = test::readRaw(fromUnixPath(KOLVI_AUDIO_CAPTURE));
    return bytes != "<missing>" && bytes.find_first_not_of('\0') != std::string::npos;
}

TEST_F(ProgramTest, AlarmsSendKeysAndPlayASoundThatTheDigitFiveExtends) {
    DeleteFileW(widen(fromUnixPath(KOLVI_AUDIO_CAPTURE)).c_str());
    // One second of a square wave, 8-bit mono PCM at 8 kHz.
    std::string wav("RIFF\x64\x1F\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x40\x1F\0\0\x40\x1F\0\0\1\0\x08\0data\x40\x1F\0\0", 44);
    for (int i = 0; i < 8000; ++i) wav += i / 9 % 2 != 0 ? '\x30' : '\xD0';
    const std::string beep = file("beep.wav");
    test::writeRaw(beep, wav);
    // Far enough ahead for a slow start: the program rings only the seconds it sees.
    prepare(alarmLine("入力", 8, "sendkeys Hello +(ab)日本{LEFT}x") + "\r\n" + alarmLine("鐘", 11, beep) + "\r\n",
            "[alarm]\r\nkeyguard=3000\r\n");
    ASSERT_NE(start(), nullptr);

    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 400, 200, nullptr,
                                      nullptr, nullptr, nullptr);
    SetForegroundWindow(edit);
    EXPECT_EQ(waitFor("Hello AB日x本", [edit] { return windowText(edit); }), "Hello AB日x本");
    DestroyWindow(edit);

    const HWND box = waitForWindow(L"#32770", true, 201, "鐘");  // 201: the notification's message line
    ASSERT_NE(box, nullptr) << "no notification window";
    const ULONGLONG guardOver = GetTickCount64() + 3000;  // the guard began before the window was seen
    EXPECT_TRUE(waitFor(true, soundCaptured)) << "no sound reached the audio device";
    waitFor(true, [guardOver] { return GetTickCount64() >= guardOver; });
    ASSERT_TRUE(IsWindow(box));
    // Due five minutes after the press (the second may turn over meanwhile).
    const std::string extension = alarmLine("鐘の延長", 300, beep, '1');
    const std::string orLater = alarmLine("鐘の延長", 301, beep, '1');
    SetForegroundWindow(box);
    waitFor(box, [] { return GetForegroundWindow(); });
    press({{'5'}});
    EXPECT_EQ(waitFor(FALSE, [box] { return IsWindow(box); }), FALSE);
    const auto extended = [&] {
        return alarms().find(extension) != std::string::npos || alarms().find(orLater) != std::string::npos;
    };
    EXPECT_TRUE(waitFor(true, extended)) << alarms();
}

}  // namespace
}  // namespace kolvi::e2e
