#pragma once
// The end-to-end fixture: a throw-away program directory with a copy of the
// real exe, started and observed from outside as a user would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "win/win_files.h"

namespace kolvi::e2e {

using win32::narrow;
using win32::widen;
using test::windowText;

inline constexpr int kTrayExit = 1502;  // "終了(&X)" of the tray menu

// Paths baked in at build time are Unix paths; Wine shows the Unix root as
// drive Z:.
inline std::string fromUnixPath(std::string path) {
    for (char& c : path) c = c == '/' ? '\\' : c;
    return "Z:" + path;
}

// How long a wait may take before it counts as a failure: only there to end
// a hang, far beyond what the slowest machine needs.
inline constexpr DWORD kPatienceMs = 30000;

// Polls until read() gives the expected value, serving this thread's own
// windows meanwhile; returns the last value read.
template <typename Read>
std::invoke_result_t<Read> waitFor(const std::invoke_result_t<Read>& expected, Read read) {
    auto value = read();
    for (const ULONGLONG end = GetTickCount64() + kPatienceMs; value != expected && GetTickCount64() < end;
         value = read()) {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); DispatchMessageW(&msg)) TranslateMessage(&msg);
        Sleep(50);
    }
    return value;
}

// Returns once the thread of `window` has handled `messages` more of its
// queued messages (or all there were): a message sent to it is answered only
// when its loop asks for the next message, and each ask takes at most one.
inline void settle(HWND window, std::size_t messages) {
    for (std::size_t i = 0; i <= messages; ++i) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, nullptr);
}

// Real key presses into whatever window has the focus: each chord's keys go
// down in order and come up in reverse. Each chord is handled before the next
// goes out, as it may move the focus.
inline void press(std::initializer_list<std::vector<WORD>> chords) {
    for (const std::vector<WORD>& chord : chords) {
        std::vector<INPUT> inputs(chord.size() * 2);
        for (std::size_t i = 0, last = inputs.size() - 1; i < chord.size(); ++i) {
            inputs[i].type = inputs[last - i].type = INPUT_KEYBOARD;
            inputs[i].ki.wVk = inputs[last - i].ki.wVk = chord[i];
            inputs[last - i].ki.dwFlags = KEYEVENTF_KEYUP;
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        settle(GetForegroundWindow(), 2 * inputs.size());  // a character for each press
    }
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileW(widen(fromUnixPath(KOLVI_EXE_PATH)).c_str(), widen(file("kolvialarm.exe")).c_str(),
                              FALSE));
    }
    void TearDown() override { stop(); }

    std::string file(const std::string& name) const { return dir_.file(name); }
    // Settings that remember list.alm, and that file with these lines; the
    // program's files are code page 932, the tests' texts UTF-8.
    void prepare(const std::string& lines, const std::string& settings = "") {
        test::writeRaw(file("kolvialarm.ini"), "[list]\r\nlastopen=list.alm\r\n" + settings);
        test::writeRaw(file("list.alm"), win32::Win32Codec().encode("1.1\r\n" + lines).value_or("<bad>"));
    }
    std::string alarms() const { return win32::Win32Codec().decode(test::readRaw(file("list.alm"))).value_or("<bad>"); }

    // Started from another current directory: relative names must still
    // resolve against the program's own directory.
    PROCESS_INFORMATION launch(const std::string& arguments = "") {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION process{};
        std::wstring commandLine = widen("\"" + file("kolvialarm.exe") + "\" " + arguments);
        EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\", &si,
                                   &process));
        WaitForInputIdle(process.hProcess, kPatienceMs);
        return process;
    }
    // The main window once its start is over: shown, or (started in the tray
    // with an argument) not.
    HWND start(const std::string& arguments = "") {
        process_ = launch(arguments);
        const HWND main = waitForWindow(L"KolviAlarmMainForm", arguments.empty());
        if (main != nullptr) settle(main, 0);
        return main;
    }
    // Ends the program by a message to its main window and waits for it.
    void stop(UINT message = WM_CLOSE, WPARAM command = 0) {
        if (process_.hProcess == nullptr) return;
        if (const HWND main = waitForWindow(L"KolviAlarmMainForm", false, 0, "", 0)) {
            PostMessageW(main, message, command, 0);
        }
        const bool ended = WaitForSingleObject(process_.hProcess, kPatienceMs) == WAIT_OBJECT_0;
        if (!ended) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
        EXPECT_TRUE(ended) << "the program did not end when told to";
    }

    // A top-level window of the program of this class, visible when asked,
    // whose title (or control `textId`) reads `text` when that is given.
    HWND waitForWindow(const wchar_t* className, bool visible = true, int textId = 0, const std::string& text = "",
                       DWORD timeoutMs = kPatienceMs) {
        for (const DWORD began = GetTickCount();; Sleep(50)) {
            for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, className, nullptr)) != nullptr;) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == process_.dwProcessId && (!visible || IsWindowVisible(w)) &&
                    (text.empty() || windowText(textId != 0 ? GetDlgItem(w, textId) : w) == text)) {
                    return w;
                }
            }
            if (GetTickCount() - began >= timeoutMs) return nullptr;
        }
    }

    // The text of the program's next message box, which is then closed.
    std::string closeBox() {
        const HWND box = waitForWindow(L"#32770");
        const std::string text = box != nullptr ? windowText(GetDlgItem(box, 0xFFFF)) : "<no box>";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return text;
    }

    test::TempDir dir_;
    PROCESS_INFORMATION process_{};
};

}  // namespace kolvi::e2e
