// The Win32 layer on real files and real system objects: the atomic replace,
// reading, the code page 932 converter against the system's, one copy per
// program file, programs of the system directory, the wake timer, the alarm
// box, and the window, dialog and subclass procedures with their guard and
// the dialog base's own modal loop.
#include "win/main_form_fixture.h"

#include <objbase.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "platform/win32/control_subclass.h"
#include "platform/win32/shell.h"
#include "platform/win32/single_instance.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_wake_timer.h"

namespace kolvi::test {
namespace {

using win32::widen;

// The target is replaced in one rename: at every moment a reader finds the
// whole old file or the whole new one, never none. Its attributes stay; a
// read-only target or a directory is refused and left as it was; temporary
// files that a killed save left behind go with the next save. A hidden file
// is no ordinary file (an alarm file so marked counts as missing) but reads
// like any other; one that another handle holds is unreadable.
TEST(Win32FileSystemTest, ReplaceIsAtomicAndReadTellsMissingFromUnreadable) {
    TempDir dir;
    win32::Win32FileSystem fs;
    const std::string target = dir.file("表ソ.alm");  // trail bytes that look like a backslash
    const std::wstring wide = widen(target);
    writeRaw(dir.file("~表ソ.alm.32.7.0.tmp"), "left by a killed save");
    writeRaw(dir.file("~other.alm.32.7.0.tmp"), "not ours");
    ASSERT_TRUE(fs.replaceFile(target, "1.1\r\n"));
    std::atomic<bool> done{false};
    std::atomic<int> absent{0};
    std::thread poller([&] {
        while (!done) absent += GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES ? 1 : 0;
    });
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(fs.replaceFile(target, std::string(20000, static_cast<char>('a' + i % 26))));
    done = true;
    poller.join();
    EXPECT_EQ(absent, 0);
    EXPECT_EQ(readRaw(target), std::string(20000, 'r'));

    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(fs.replaceFile(target, "1.1\r\n"));
    EXPECT_NE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_FALSE(fs.isOrdinaryFile(target));
    EXPECT_EQ(fs.readFile(target).bytes, "1.1\r\n");
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(fs.replaceFile(target, "new"));
    EXPECT_EQ(readRaw(target), "1.1\r\n");
    CreateDirectoryW(widen(dir.file("sub")).c_str(), nullptr);
    EXPECT_FALSE(fs.replaceFile(dir.file("sub"), "x"));
    EXPECT_EQ(dir.listing(), "sub;~other.alm.32.7.0.tmp;表ソ.alm;");
    EXPECT_EQ(fs.readFile(dir.file("absent.alm")).status, ReadStatus::missing);
    const win32::UniqueFile exclusive(CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(fs.readFile(target).status, ReadStatus::unreadable);
}

// Our decoder accepts and maps every two-byte sequence exactly as the system
// converter does on its own, and every character goes back to bytes that
// decode to it; what code page 932 cannot hold is refused, never replaced
// by a look-alike.
TEST(Win32CodecTest, AgreesWithTheSystemConverterOnEveryDoubleByteSequence) {
    const win32::Win32Codec codec;
    int valid = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[4] = {};
            const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, 2, wide, 4);
            const auto ours = codec.decode(std::string_view(bytes, 2));
            ASSERT_EQ(ours.has_value(), n > 0) << std::hex << lead << " " << trail;
            if (n == 0) continue;
            ++valid;
            ASSERT_EQ(*ours, win32::narrow(std::wstring_view(wide, static_cast<std::size_t>(n))));
            ASSERT_EQ(codec.decode(codec.encode(*ours).value_or("")), ours);  // duplicate codes may normalise
        }
    }
    EXPECT_GT(valid, 7000);  // JIS X 0208 alone has 6879 characters
    for (const char* text : {"한국어", "café", "\xE2\x82"}) EXPECT_FALSE(codec.encode(text).has_value()) << text;
}

// One copy per program file however its path is spelled; programs of the
// system directory named in full; the shell's calls in their apartment.
TEST(PlatformTest, StartingUpAndStartingOtherPrograms) {
    TempDir dir;
    const std::string program = dir.file("Äpfel.exe");
    writeRaw(program, "MZ");
    writeRaw(dir.file("other.exe"), "MZ");
    const win32::SingleInstance first(widen(program));
    ASSERT_TRUE(first.isFirst());
    EXPECT_FALSE(win32::SingleInstance(widen(dir.file("äpfel.EXE"))).isFirst());
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(GetShortPathNameW(widen(program).c_str(), shortName.data(), MAX_PATH));
    EXPECT_FALSE(win32::SingleInstance(shortName).isFirst());
    EXPECT_TRUE(win32::SingleInstance(widen(dir.file("other.exe"))).isFirst());

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

TEST(PlatformTest, TheWakeTimerIsDueAtTheLocalMomentAsked) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    win32::Win32WakeTimer timer;
    ASSERT_TRUE(timer.arm(civilDay(now.wYear, now.wMonth, now.wDay) * kSecondsPerDay + now.wHour * 3600 +
                          now.wMinute * 60 + now.wSecond + 3600));
    struct {
        LARGE_INTEGER remaining;
        BOOLEAN signalled;
    } info{};
    using NtQueryTimer = LONG WINAPI(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<NtQueryTimer*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryTimer")));
    ASSERT_EQ(query(timer.handle(), 0, &info, sizeof info, nullptr), 0);
    EXPECT_NEAR(static_cast<double>(info.remaining.QuadPart) / 1e7, 3600.0, 3.0);
    timer.cancel();
}

// A message box runs its own loop; a timer reads it from there and closes it.
std::string readAndCloseBox() {
    HWND box = nullptr;
    do box = FindWindowExW(nullptr, box, L"#32770", nullptr); while (box != nullptr && !IsWindowVisible(box));
    const std::string seen = textOf(box) + "|" + textOf(GetDlgItem(box, 0xFFFF)) +
                             ((GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 ? "|topmost" : "");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return seen;
}

TEST(PlatformTest, TheBoxOfAnAlarmStaysOnTop) {
    std::string seen;
    later(200, [&] { seen = readAndCloseBox(); });
    win32::Win32Desktop().showAlarmMessage("会議");
    EXPECT_EQ(seen, "Kolviアラーム|会議|topmost");
}

constexpr UINT kThrow = WM_APP + 10;
constexpr UINT kPing = WM_APP + 11;  // answered with 42 while the procedure works

class ThrowingWindow final : public win32::WindowBase {
public:
    bool create() { return createWindow(L"KolviGuardTest", nullptr, 0, WS_POPUP, L"", 0, 0, 9, 9, nullptr, nullptr); }

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrow) throw std::runtime_error("window fault");
        return message == kPing ? 42 : WindowBase::handleMessage(message, wParam, lParam);
    }
};

// Also ends itself, as the program's message filter, on a Z key.
class ThrowingDialog final : public win32::DialogBase, public win32::MessageFilter {
public:
    bool preTranslateMessage(MSG& message) override {
        if (message.message != WM_KEYDOWN || message.wParam != 'Z') return false;
        ownerEnabled = IsWindowEnabled(GetWindow(hwnd(), GW_OWNER)) != 0;
        endDialog(7);
        return true;
    }
    bool ownerEnabled = true;

private:
    INT_PTR handleMessage(UINT message, WPARAM, LPARAM) override {
        if (message == kThrow) throw std::length_error("dialog fault");
        if (message != kPing) return FALSE;
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, 42);
        return TRUE;
    }
};

// No exception crosses a procedure: each kind reports the fault in an error
// box and goes on working.
TEST(ProcGuardTest, EachKindOfProcedureReportsAFaultAndKeepsWorkingAndTheModalLoopRunsTheFilter) {
    ThrowingWindow window;
    ASSERT_TRUE(window.create());
    ThrowingDialog dialog;
    ASSERT_TRUE(dialog.createModeless(IDD_SOUNDFORM, nullptr));
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    win32::ControlSubclass subclass;
    ASSERT_TRUE(subclass.attach(edit, [](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == kThrow) throw 7;  // not even an exception class
        return message == kPing ? std::optional<LRESULT>(42) : std::nullopt;
    }));
    const std::pair<HWND, std::string> kinds[] = {{window.hwnd(), "window fault"}, {dialog.hwnd(), "dialog fault"}, {edit, ""}};
    for (const auto& [target, fault] : kinds) {
        std::string seen;
        later(100, [&] { seen = readAndCloseBox(); });
        SendMessageW(target, kThrow, 0, 0);
        EXPECT_EQ(seen, "Kolviアラーム|予期しないエラーが発生しました。\r\n" + fault);
        EXPECT_EQ(SendMessageW(target, kPing, 0, 0), 42) << fault;
    }
    DestroyWindow(edit);
    EXPECT_EQ(subclass.control(), nullptr);  // it let go when the control went

    // The dialog base's own modal loop gives the program's filter every
    // message and keeps the owner disabled until the dialog is gone.
    ThrowingDialog modal;
    later(50, [&] { PostMessageW(GetDlgItem(modal.hwnd(), IDCANCEL), WM_KEYDOWN, 'Z', 0); });
    EXPECT_EQ(modal.runModal(IDD_SOUNDFORM, window.hwnd(), &modal), 7);
    EXPECT_FALSE(modal.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
    EXPECT_EQ(modal.hwnd(), nullptr);
}

}  // namespace
}  // namespace kolvi::test
