// The Win32 layer on real files and real system objects: the atomic replace,
// reading, the code page 932 converter and the settings file against the
// system's own, one copy per program file, programs of the system directory,
// the wake timer, the alarm box, and the window, dialog and subclass
// procedures with their guard and the dialog base's own modal loop.
#include "win/main_form_fixture.h"

#include <objbase.h>

#include <array>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <tuple>

#include "platform/win32/control_subclass.h"
#include "platform/win32/shell.h"
#include "platform/win32/single_instance.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_wake_timer.h"
#include "settings/settings_file.h"

namespace kolvi::test {
namespace {

using namespace std::string_literals;
using win32::widen;

// The target is replaced in one rename: at every moment a reader finds the
// whole old file or the whole new one, never none. Its attributes stay; a
// read-only target is refused and left as it was; temporary files that a
// killed save left behind go with the next save. A hidden file is no
// ordinary file (an alarm file so marked counts as missing) but reads like
// any other; one that another handle holds is unreadable.
TEST(Win32FileSystem, ReplaceIsAtomicAndReadTellsMissingFromUnreadable) {
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
    EXPECT_EQ(dir.listing(), "~other.alm.32.7.0.tmp;表ソ.alm;");
    EXPECT_EQ(fs.readFile(dir.file("absent.alm")).status, ReadStatus::missing);
    const win32::UniqueFile exclusive(CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(fs.readFile(target).status, ReadStatus::unreadable);
}

// Our decoder accepts and maps every two-byte sequence exactly as the system
// converter does on its own, and every character goes back to bytes that
// decode to it; what code page 932 cannot hold is refused, never replaced
// by a look-alike.
TEST(Win32Codec, AgreesWithTheSystemConverterOnEveryDoubleByteSequence) {
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

// The settings file against the system's own private-profile functions: the
// same bytes on disk, the same questions, the same answers.
//
// What is compared, and what is not:
//  - Reading: strings and integers on ASCII files, always; Japanese names and
//    values only when the ANSI code page is 932, because the W functions
//    decode a file without BOM in the ANSI code page.
//  - Integers only in the range of int and written in decimal: the system
//    wraps larger numbers around and also takes "0x"/"0o"/"0b" prefixes, where
//    we saturate and read decimal only.
//  - Lines that are not valid code page 932: the system substitutes
//    characters, we give the default; not compared.
//  - Writing: the bytes of whole files, only for files already in the layout
//    the system writes (CR LF, "key=value", no blank lines), because Wine
//    rewrites the whole file in that layout, while Windows keeps other lines
//    as they are, as we do. Other layouts are read here, and their writes are
//    the native tests' byte tables.
TEST(SettingsDifferential, OurReaderAndWriterAgreeWithTheSystemsProfileFunctions) {
    TempDir dir;
    win32::Win32FileSystem fs;
    win32::Win32Codec codec;
    int next = 0;
    const auto fresh = [&](const std::string& bytes) {  // a file of its own, never one the system has cached
        const std::string path = dir.file("case" + std::to_string(next++) + ".ini");
        return writeRaw(path, bytes) ? path : "<not written>";
    };
    const auto systemString = [](const std::string& path, const std::string& section, const std::string& key) {
        wchar_t text[1024] = {};
        const DWORD n = GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), L"<default>", text, 1024,
                                                 widen(path).c_str());
        return win32::narrow(std::wstring_view(text, n));
    };
    const auto systemInt = [](const std::string& path, const std::string& section, const std::string& key) {
        return static_cast<int>(GetPrivateProfileIntW(widen(section).c_str(), widen(key).c_str(), -77, widen(path).c_str()));
    };

    // Every section asked with every key, as a string and as an integer.
    std::vector<std::tuple<std::string, std::vector<std::string>, std::vector<std::string>>> reads = {
        {"[Sec]\r\nKey=first\r\nkey=second\r\n[sec]\r\nKey=hidden\r\nother=hidden\r\n", {"sec", "SEC", " Sec\t", "x"},
         {"key", "KEY", " Key ", "other", "x"}},
        {"[s]\r\n;c=1\r\n#h=2\r\nbare\r\n bare2 \r\n=empty\r\nk= \r\n\tt\t=\tv\t\r\nz=\x1az\x0b\x0c\r\nbare=5\r\nn=\xa0n\r\n", {"s"},
         {";c", "#h", "bare", "bare2", "", "k", "t", "z"}},
        {"[q]\r\na=\"x y\"\r\nb='x'\r\nc=\"x\r\nd=\"x'\r\ne=\" x \"\r\nf=\"\"\r\ng=\"\r\nh= \"q\" \r\ni=\"a\"b\"\r\nj=x\"y\"\r\n",
         {"q"}, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
        {"top=1\r\n[a]\r\nx=2\r\n[]\r\nk=6\r\n", {"", " ", "a"}, {"top", "x", "k"}},
        {"  [ A ]  \r\nk=1\r\n[B]junk\r\nk=2\r\n[C\r\nnew=3\r\n[D]]\r\nk=4\r\n[E]x]\r\nk=5\r\nx[F]\r\nk=7\r\n\t[G]\r\nk=8\r\n",
         {"A", "B", "C", "[C", "D", "D]", "E", "E]x", "F", "G"}, {"k", "new", "x[F]"}},
        {"[l]\na=1\nb=2\rc=3\r\r\nd=4\r\n\re=5", {"l"}, {"a", "b", "c", "d", "e"}},
        {"[n]\r\na=1\0x\r\nb\0c=2\r\n[x\0]\r\nc=3\r\n"s, {"n", "x"}, {"a", "b", "c"}},
        {"[i]\r\na=12abc\r\nb=-5\r\nc=+-1\r\nd=\"  42\"\r\ne=\r\nf=-2147483648\r\ng=1e3\r\nbare\r\n", {"i"},
         {"a", "b", "c", "d", "e", "f", "g", "bare"}},
        {"", {"s", ""}, {"k", ""}},
        {"; settings\r\n\r\n  [ Window ]  \r\n  Left = -20  \r\nLEFT=5\r\n\r\n[list]\nlastopen = \"old\" \n\n[window]\r\nhidden=1\r\n",
         {"window", "list", "statusbar", ""}, {"left", "top", "lastopen", "visible", "hidden", "; settings"}},
    };
    if (GetACP() == 932) {  // 表 and ソ end in 0x5C, ア in 'A', ー in '[', ‐ in ']'; Ａ is a full-width letter
        reads.push_back({"[\x95\x5c]\r\n\x83\x5c=\x95\x5c\x8e\xa6\r\nk=\x81\x40v\x81\x40\r\n\x81\x5b=\x83\x41\r\n[\x83\x41]\r\n"
                         "k=1\r\n[\x82\x60]\r\nk=2\r\n[s]\r\n[x\x81\x5d\r\nk=3\r\n",
                         {"表", "ア", "ヂ", "Ａ", "ａ", "s"}, {"ソ", "k", "ー"}});
    }
    for (const auto& [bytes, sections, keys] : reads) {
        const std::string path = fresh(bytes);
        const SettingsFile ours(fs, codec, path);
        for (const std::string& section : sections) {
            for (const std::string& key : keys) {
                EXPECT_EQ(ours.readString(section, key, "<default>"), systemString(path, section, key))
                    << bytes << ": [" << section << "] " << key;
                EXPECT_EQ(ours.readInt(section, key, -77), systemInt(path, section, key))
                    << bytes << ": [" << section << "] " << key;
            }
        }
    }

    // Writes give the same bytes.
    const std::string two = "[a]\r\nx=1\r\n[b]\r\ny=2\r\n";
    std::vector<std::array<std::string, 4>> writes = {  // file, section, key, value
        {two, "a", "new", "v"}, {two, "A", "X", "changed"}, {two, "c", "k", "v"}, {two, "a", "x", "  v  "},
        {two, "a", "q", "\"quoted\""}, {"[a]\r\nx=1\r\n[a]\r\nx=2\r\n", "a", "y", "3"}, {"[s]\r\nbare\r\nx=1\r\n", "s", "bare", "7"},
        {"[s]\r\nk=1", "t", "j", "7"}, {"", "list", "lastopen", "a.alm"}, {"top=1\r\n[a]\r\nx=1\r\n", "", "new", "2"},
        {"<no file>", "window", "left", "-1200"},
    };
    if (GetACP() == 932) writes.insert(writes.end(), {{"[\x95\x5c]\r\n\x83\x5c=1\r\n", "表", "ソ", "表示×"}, {two, "アラーム", "キー", "値"}});
    for (const auto& [bytes, section, key, value] : writes) {
        const std::string mine = bytes == "<no file>" ? dir.file("mine.ini") : fresh(bytes);
        const std::string theirs = bytes == "<no file>" ? dir.file("theirs.ini") : fresh(bytes);
        EXPECT_TRUE(SettingsFile(fs, codec, mine).writeString(section, key, value));
        EXPECT_TRUE(WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(value).c_str(),
                                               widen(theirs).c_str()));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, widen(theirs).c_str());  // flush the cache to disk
        EXPECT_EQ(readRaw(mine), readRaw(theirs)) << bytes << " [" << section << "] " << key;
    }
}

// One copy per program file however its path is spelled.
TEST(SingleInstance, OneCopyPerProgramFileHoweverItsPathIsSpelled) {
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
}

// Programs of the system directory named in full; the shell's calls in their apartment.
TEST(Shell, SystemProgramsAreNamedInFullAndTheShellRunsInItsApartment) {
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

// Armed for two whole seconds from now on the local clock, the timer goes
// off at that moment: never before it, and not hours away (how late it is
// seen depends on the machine's load).
TEST(Win32WakeTimer, TheWakeTimerIsDueAtTheLocalMomentAsked) {
    const ULONGLONG before = GetTickCount64();
    SYSTEMTIME now{};
    GetLocalTime(&now);
    win32::Win32WakeTimer timer;
    ASSERT_TRUE(timer.arm(civilDay(now.wYear, now.wMonth, now.wDay) * kSecondsPerDay + now.wHour * 3600 +
                          now.wMinute * 60 + now.wSecond + 2));
    ASSERT_EQ(WaitForSingleObject(timer.handle(), 30000), WAIT_OBJECT_0);
    EXPECT_GE(GetTickCount64() - before + 50, 2000u - now.wMilliseconds);
}

// A message box runs its own loop; a timer reads it from there and closes it.
std::string readAndCloseBox() {
    HWND box = nullptr;
    do box = FindWindowExW(nullptr, box, L"#32770", nullptr); while (box != nullptr && !IsWindowVisible(box));
    const std::string seen = windowText(box) + "|" + windowText(GetDlgItem(box, 0xFFFF)) +
                             ((GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 ? "|topmost" : "");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return seen;
}

TEST(Win32Desktop, TheBoxOfAnAlarmStaysOnTop) {
    std::string seen;
    later(200, [&] { seen = readAndCloseBox(); });
    win32::Win32Desktop().showAlarmMessage("会議");
    EXPECT_EQ(seen, "Kolviアラーム|会議|topmost");
}

constexpr UINT kThrow = WM_APP + 10;
constexpr UINT kPing = WM_APP + 11;  // answered with 42 while the procedure works

struct ThrowingWindow final : win32::WindowBase {
    bool create() { return createWindow(L"KolviGuardTest", nullptr, 0, WS_POPUP, L"", 0, 0, 9, 9, nullptr, nullptr); }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrow) throw std::runtime_error("window fault");
        return message == kPing ? 42 : WindowBase::handleMessage(message, wParam, lParam);
    }
};

// Also ends itself, as the program's message filter, on a Z key.
struct ThrowingDialog final : win32::DialogBase, win32::MessageFilter {
    bool preTranslateMessage(MSG& message) override {
        if (message.message != WM_KEYDOWN || message.wParam != 'Z') return false;
        ownerEnabled = IsWindowEnabled(GetWindow(hwnd(), GW_OWNER)) != 0;
        endDialog(7);
        return true;
    }
    bool ownerEnabled = true;
    INT_PTR handleMessage(UINT message, WPARAM, LPARAM) override {
        if (message == kThrow) throw std::length_error("dialog fault");
        if (message != kPing) return FALSE;
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, 42);
        return TRUE;
    }
};

// No exception crosses a procedure: each kind reports the fault in an error
// box and goes on working.
TEST(ProcGuard, EachKindOfProcedureReportsAFaultAndKeepsWorking) {
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
}

// The dialog base's own modal loop gives the program's filter every message
// and keeps the owner disabled until the dialog is gone.
TEST(DialogBase, TheModalLoopRunsTheFilterAndDisablesTheOwnerUntilTheEnd) {
    ThrowingWindow window;
    ASSERT_TRUE(window.create());
    ThrowingDialog modal;
    later(50, [&] { PostMessageW(GetDlgItem(modal.hwnd(), IDCANCEL), WM_KEYDOWN, 'Z', 0); });
    EXPECT_EQ(modal.runModal(IDD_SOUNDFORM, window.hwnd(), &modal), 7);
    EXPECT_FALSE(modal.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
    EXPECT_EQ(modal.hwnd(), nullptr);
}

}  // namespace
}  // namespace kolvi::test
