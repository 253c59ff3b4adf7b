#pragma once
// The end-to-end fixture: a throw-away program directory with a copy of the
// real exe, started and observed from outside as a user would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "support/win_files.h"

namespace kolvi::e2e {

using test::readRaw;
using test::writeRaw;
using win32::narrow;
using win32::widen;

inline std::string toCp932(const std::string& utf8) { return win32::Win32Codec().encode(utf8).value_or("<bad>"); }
inline std::string fromCp932(const std::string& bytes) { return win32::Win32Codec().decode(bytes).value_or("<bad>"); }

// Paths baked in at build time are Unix paths; Wine shows the Unix root as
// drive Z:.
inline std::string fromUnixPath(const char* path) {
    std::string p = std::string("Z:") + path;
    for (char& c : p) {
        if (c == '/') c = '\\';
    }
    return p;
}

inline std::string windowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return narrow(buffer);
}

inline constexpr int kFileExit = 1007;  // "終了(&X)" of the File menu
inline constexpr int kTrayExit = 1502;  // "終了(&X)" of the tray menu

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileW(widen(fromUnixPath(KOLVI_EXE_PATH)).c_str(), widen(file("kolvialarm.exe")).c_str(),
                              FALSE));
    }
    void TearDown() override { stop(); }

    std::string file(const std::string& name) const { return dir_.file(name); }
    void writeIni(const std::string& text) { writeRaw(file("kolvialarm.ini"), toCp932(text)); }
    void writeAlarms(const std::string& text) { writeRaw(file("list.alm"), toCp932(text)); }
    std::string alarms() const { return fromCp932(readRaw(file("list.alm"))); }

    // Starts the program from another current directory: relative names
    // must still resolve against the program's own directory.
    void start(const std::string& arguments = "") { start(process_, arguments); }
    void start(PROCESS_INFORMATION& process, const std::string& arguments) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring commandLine = widen("\"" + file("kolvialarm.exe") + "\" " + arguments);
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, windows, &si,
                                   &process));
        WaitForInputIdle(process.hProcess, 10000);
    }

    // A top-level window of the program with this class (and, when given, a
    // control `textId` reading `text`).
    HWND waitForWindow(const wchar_t* className, DWORD timeoutMs = 20000, bool mustBeVisible = true, int textId = 0,
                       const std::string& text = "") {
        struct Search {
            DWORD pid;
            const wchar_t* className;
            bool mustBeVisible;
            int textId;
            const std::string* text;
            HWND found;
        } search{process_.dwProcessId, className, mustBeVisible, textId, &text, nullptr};
        const auto visit = [](HWND hwnd, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            wchar_t cls[64] = {};
            GetClassNameW(hwnd, cls, 64);
            if (pid != s.pid || wcscmp(cls, s.className) != 0 || (s.mustBeVisible && !IsWindowVisible(hwnd))) {
                return TRUE;
            }
            if (s.textId != 0 && windowText(GetDlgItem(hwnd, s.textId)) != *s.text) return TRUE;
            s.found = hwnd;
            return FALSE;
        };
        const DWORD began = GetTickCount();
        for (;;) {
            EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr || GetTickCount() - began >= timeoutMs) return search.found;
            Sleep(50);
        }
    }
    HWND mainWindow(DWORD timeoutMs = 20000, bool mustBeVisible = true) {
        return waitForWindow(L"KolviAlarmMainForm", timeoutMs, mustBeVisible);
    }

    void stop() {
        if (process_.hProcess == nullptr) return;
        if (const HWND main = mainWindow(0, false)) PostMessageW(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
            ADD_FAILURE() << "the program did not end when its window was closed";
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
    }
    // Ends the program the way its menus do, and waits for it.
    void exitBy(int command) {
        const HWND main = mainWindow(0, false);
        ASSERT_NE(main, nullptr);
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        ASSERT_EQ(WaitForSingleObject(process_.hProcess, 10000), WAIT_OBJECT_0);
        stop();
    }

    // A list-view text of the program, read through memory of its process.
    std::string cell(HWND lv, int item, int column) {
        struct Remote {
            LVITEMW item;
            std::array<wchar_t, 512> text;
        };
        void* remote = VirtualAllocEx(process_.hProcess, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE);
        Remote local{};
        local.item.iSubItem = column;
        local.item.cchTextMax = 512;
        local.item.pszText = reinterpret_cast<Remote*>(remote)->text.data();
        WriteProcessMemory(process_.hProcess, remote, &local, sizeof local, nullptr);
        SendMessageW(lv, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process_.hProcess, remote, &local, sizeof local, nullptr);
        VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
        return narrow(local.text.data());
    }

    // Polls until read() gives the expected text; returns the last one read.
    template <typename Read>
    static std::string waitFor(const std::string& expected, Read read, int tries = 100) {
        std::string value;
        for (int i = 0; i < tries && (value = read()) != expected; ++i) Sleep(50);
        return value;
    }

    int iniInt(const char* section, const char* key) const {
        return static_cast<int>(
            GetPrivateProfileIntW(widen(section).c_str(), widen(key).c_str(), -999, widen(file("kolvialarm.ini")).c_str()));
    }

    test::TempDir dir_;
    PROCESS_INFORMATION process_{};
};

}  // namespace kolvi::e2e
