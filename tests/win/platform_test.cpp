// The Win32 side of start-up and of starting other programs: one copy per
// program file, programs of the system directory, the shell's apartment.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "platform/win32/shell.h"
#include "platform/win32/single_instance.h"
#include "platform/clock.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_wake_timer.h"
#include "support/win_files.h"

namespace kolvi::test {
namespace {

using win32::SingleInstance;
using win32::widen;

TEST(PlatformTest, OneCopyPerProgramFileHoweverItsPathIsSpelled) {
    TempDir dir;
    CreateDirectoryW(widen(dir.file("Äpfel")).c_str(), nullptr);
    const std::string program = dir.file("Äpfel\\KolviAlarm.exe");
    writeRaw(program, "MZ");
    writeRaw(dir.file("Äpfel\\other.exe"), "MZ");
    const SingleInstance first(widen(program));
    ASSERT_TRUE(first.isFirst());
    std::wstring lower = widen(dir.file("äpfel\\kolvialarm.EXE"));
    EXPECT_FALSE(SingleInstance(lower).isFirst());
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(GetShortPathNameW(widen(program).c_str(), shortName.data(), MAX_PATH));
    EXPECT_FALSE(SingleInstance(shortName).isFirst());
    EXPECT_TRUE(SingleInstance(widen(dir.file("Äpfel\\other.exe"))).isFirst());
}

TEST(PlatformTest, SystemProgramsAreStartedFromTheSystemDirectoryAndTheShellGetsItsApartment) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(win32::systemProgramCommandLine(L"control.exe", L"timedate.cpl"),
              L"\"" + std::wstring(system) + L"\\control.exe\" timedate.cpl");
    win32::shell32();
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    ASSERT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
    EXPECT_EQ(type, APTTYPE_MAINSTA);
}

// The real timer is set for the absolute moment asked for.
TEST(PlatformTest, TheWakeTimerIsSetForTheMomentAsked) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::int64_t local = civilDay(now.wYear, now.wMonth, now.wDay) * kSecondsPerDay + now.wHour * 3600 +
                               now.wMinute * 60 + now.wSecond;
    win32::Win32WakeTimer timer;
    ASSERT_TRUE(timer.arm(local + 3600));
    struct {
        LARGE_INTEGER remaining;
        BOOLEAN signalled;
    } info{};
    using NtQueryTimer = LONG WINAPI(HANDLE, int, void*, ULONG, ULONG*);
    auto* query = reinterpret_cast<NtQueryTimer*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryTimer")));
    ASSERT_EQ(query(timer.handle(), 0, &info, sizeof info, nullptr), 0);
    EXPECT_NEAR(static_cast<double>(info.remaining.QuadPart) / 1e7, 3600.0, 3.0);
    EXPECT_FALSE(info.signalled);
    timer.cancel();
}

}  // namespace
}  // namespace kolvi::test
