#pragma once
// The fixture of the end-to-end tests: a throw-away program directory with a
// copy of the real exe, started and observed from outside like a user would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace kolvi::e2e {


inline std::wstring widen(const std::string& s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

inline std::string narrow(const std::wstring& s) {
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline std::string toCp932(const std::string& utf8) {
    const std::wstring w = widen(utf8);
    const int n = WideCharToMultiByte(932, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(932, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline std::string fromCp932(const std::string& bytes) {
    const int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
    return narrow(w);
}

inline void writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

inline std::string readFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

// Paths baked in at build time are Unix paths; Wine shows the Unix root as
// drive Z:.
inline std::wstring fromUnixPath(const char* path) {
    std::wstring p = L"Z:" + widen(path);
    for (wchar_t& c : p) {
        if (c == L'/') c = L'\\';
    }
    return p;
}
inline std::wstring exePath() { return fromUnixPath(KOLVI_EXE_PATH); }

// Memory in the program's process, for list-view messages that carry a
// pointer.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, std::size_t size)
        : process_(process), size_(size),
          ptr_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBuffer() { VirtualFreeEx(process_, ptr_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* get() const { return ptr_; }
    LPARAM lparam() const { return reinterpret_cast<LPARAM>(ptr_); }
    template <typename T>
    void write(const T& value, std::size_t offset = 0) {
        WriteProcessMemory(process_, static_cast<char*>(ptr_) + offset, &value, sizeof value, nullptr);
    }
    template <typename T>
    T read(std::size_t offset = 0) const {
        T value{};
        ReadProcessMemory(process_, static_cast<const char*>(ptr_) + offset, &value, sizeof value, nullptr);
        return value;
    }
    std::size_t size() const { return size_; }

private:
    HANDLE process_;
    std::size_t size_;
    void* ptr_;
};

struct FoundWindow {
    DWORD pid;
    const wchar_t* className;
    bool mustBeVisible;
    HWND hwnd;
};

inline BOOL CALLBACK findTopLevel(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<FoundWindow*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid == found->pid && wcscmp(cls, found->className) == 0 && (!found->mustBeVisible || IsWindowVisible(hwnd))) {
        found->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

inline std::wstring windowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"kolvi-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(GetTickCount());
        ASSERT_TRUE(CreateDirectoryW(dir_.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(exePath().c_str(), (dir_ + L"\\kolvialarm.exe").c_str(), FALSE))
            << narrow(exePath());
    }

    void TearDown() override {
        stop();
        for (const wchar_t* name : {L"kolvialarm.exe", L"kolvialarm.ini", L"list.alm", L"other.alm"}) {
            const std::wstring p = dir_ + L"\\" + name;
            SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(p.c_str());
        }
        RemoveDirectoryW(dir_.c_str());
    }

    void writeIni(const std::string& text) { writeFile(dir_ + L"\\kolvialarm.ini", toCp932(text)); }
    void writeAlarms(const std::string& text) { writeFile(alarmPath(), toCp932(text)); }
    std::wstring alarmPath() const { return dir_ + L"\\list.alm"; }
    std::string alarms() const { return fromCp932(readFile(alarmPath())); }

    // Starts the program from another current directory: relative names
    // must still resolve against the program's own directory.
    void start(const std::wstring& arguments = L"") { start(process_, arguments); }
    void start(PROCESS_INFORMATION& process, const std::wstring& arguments) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring commandLine = L"\"" + dir_ + L"\\kolvialarm.exe\"" + (arguments.empty() ? L"" : L" " + arguments);
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, windows, &si,
                                   &process));
        WaitForInputIdle(process.hProcess, 10000);
    }

    HWND waitForWindow(const wchar_t* className, DWORD timeoutMs = 20000, bool mustBeVisible = true) {
        const DWORD start = GetTickCount();
        for (;;) {
            FoundWindow found{process_.dwProcessId, className, mustBeVisible, nullptr};
            EnumWindows(&findTopLevel, reinterpret_cast<LPARAM>(&found));
            if (found.hwnd != nullptr) return found.hwnd;
            if (GetTickCount() - start >= timeoutMs) return nullptr;
            Sleep(50);
        }
    }

    void stop() {
        if (process_.hProcess == nullptr) return;
        if (HWND main = waitForWindow(L"KolviAlarmMainForm", 0, false)) PostMessageW(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
            ADD_FAILURE() << "the program did not end when its window was closed";
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
    }

    std::string cell(HWND lv, int item, int column) {
        RemoteBuffer remote(process_.hProcess, sizeof(LVITEMW) + 1024 * sizeof(wchar_t));
        LVITEMW it{};
        it.iSubItem = column;
        it.cchTextMax = 1024;
        it.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.get()) + sizeof(LVITEMW));
        remote.write(it);
        SendMessageW(lv, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), remote.lparam());
        const auto text = remote.read<std::array<wchar_t, 1024>>(sizeof(LVITEMW));
        return narrow(text.data());
    }

    std::string header(HWND lv, int column) {
        RemoteBuffer remote(process_.hProcess, sizeof(LVCOLUMNW) + 256 * sizeof(wchar_t));
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT;
        c.cchTextMax = 256;
        c.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.get()) + sizeof(LVCOLUMNW));
        remote.write(c);
        SendMessageW(lv, LVM_GETCOLUMNW, static_cast<WPARAM>(column), remote.lparam());
        const auto text = remote.read<std::array<wchar_t, 256>>(sizeof(LVCOLUMNW));
        return narrow(text.data());
    }

    void clickCheckBox(HWND lv, int item) {
        RemoteBuffer remote(process_.hProcess, sizeof(LVHITTESTINFO) + sizeof(RECT));
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        remote.write(bounds);
        SendMessageW(lv, LVM_GETITEMRECT, static_cast<WPARAM>(item), remote.lparam());
        bounds = remote.read<RECT>();
        for (int x = bounds.left; x < bounds.left + 40; ++x) {
            LVHITTESTINFO hit{};
            hit.pt = {x, (bounds.top + bounds.bottom) / 2};
            remote.write(hit);
            const auto found = SendMessageW(lv, LVM_HITTEST, 0, remote.lparam());
            hit = remote.read<LVHITTESTINFO>();
            if (found == item && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
                const LPARAM at = MAKELPARAM(hit.pt.x, hit.pt.y);
                PostMessageW(lv, WM_LBUTTONDOWN, MK_LBUTTON, at);
                PostMessageW(lv, WM_LBUTTONUP, 0, at);
                return;
            }
        }
        FAIL() << "no check box on row " << item;
    }

    void clickHeader(HWND lv, int column) {
        const HWND headerWindow = reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0));
        RemoteBuffer remote(process_.hProcess, sizeof(RECT));
        SendMessageW(headerWindow, HDM_GETITEMRECT, static_cast<WPARAM>(column), remote.lparam());
        const RECT r = remote.read<RECT>();
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(headerWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(headerWindow, WM_LBUTTONUP, 0, at);
        // The clicks are posted; a sent message would overtake them.
    }

    // Polls a text read from the program until it is as expected.
    template <typename Read>
    static std::string waitFor(const std::string& expected, Read read) {
        std::string value;
        for (int i = 0; i < 100 && (value = read()) != expected; ++i) Sleep(50);
        return value;
    }

    bool waitForAlarms(const std::string& expected) {
        for (int i = 0; i < 100; ++i) {
            if (alarms() == expected) return true;
            Sleep(50);
        }
        return false;
    }

    // Ends the program the way its menus do, and waits for it.
    void exitBy(int command) {
        const HWND main = waitForWindow(L"KolviAlarmMainForm", 0, false);
        ASSERT_NE(main, nullptr);
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        ASSERT_EQ(WaitForSingleObject(process_.hProcess, 10000), WAIT_OBJECT_0);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
    }

    int iniInt(const wchar_t* section, const wchar_t* key) const {
        return static_cast<int>(GetPrivateProfileIntW(section, key, -999, (dir_ + L"\\kolvialarm.ini").c_str()));
    }
    std::string iniText(const wchar_t* section, const wchar_t* key) const {
        wchar_t value[512] = {};
        GetPrivateProfileStringW(section, key, L"<none>", value, 512, (dir_ + L"\\kolvialarm.ini").c_str());
        return narrow(value);
    }

    std::wstring dir_;
    PROCESS_INFORMATION process_{};
};

inline constexpr int kFileExit = 1007;   // "終了(&X)" of the File menu
inline constexpr int kTrayExit = 1502;   // "終了(&X)" of the tray menu


}  // namespace kolvi::e2e
