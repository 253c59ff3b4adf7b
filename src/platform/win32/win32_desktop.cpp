#include "platform/win32/win32_desktop.h"

#include "texts/common_texts.h"
#include "platform/win32/file_dialogs.h"
#include "platform/win32/shell.h"
#include "platform/win32/text.h"

namespace kolvi::win32 {

std::string Win32Desktop::askOpenAlarmFile() { return win32::askOpenAlarmFile(owner_); }

std::string Win32Desktop::askSaveAlarmFile(std::string_view title) {
    return win32::askSaveAlarmFile(owner_, widen(title));
}

bool Win32Desktop::confirm(std::string_view text) {
    return MessageBoxW(owner_, widen(text).c_str(), widen(kProgramTitle).c_str(),
                       MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) == IDOK;
}

void Win32Desktop::showInformation(std::string_view title, std::string_view text) {
    MessageBoxW(owner_, widen(text).c_str(), widen(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

std::string Win32Desktop::askOpenAnyFile(OwnerWindow owner, const std::string& folder) {
    return win32::askOpenAnyFile(owner != nullptr ? static_cast<HWND>(owner) : owner_, folder);
}

void Win32Desktop::showBox(OwnerWindow owner, std::string_view text, BoxIcon icon) {
    MessageBoxW(owner != nullptr ? static_cast<HWND>(owner) : owner_, widen(text).c_str(), widen(kProgramTitle).c_str(),
                MB_OK | (icon == BoxIcon::error ? MB_ICONERROR : MB_ICONWARNING));
}

namespace {

// The box about to be shown is put on top as it is activated: not every
// system honours the box's topmost flag.
thread_local HHOOK t_topmostHook = nullptr;

LRESULT CALLBACK putBoxOnTop(int code, WPARAM wParam, LPARAM lParam) {
    const HHOOK hook = t_topmostHook;
    if (code == HCBT_ACTIVATE) {
        const auto box = reinterpret_cast<HWND>(wParam);
        SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        UnhookWindowsHookEx(hook);
        t_topmostHook = nullptr;
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

void Win32Desktop::showAlarmMessage(std::string_view name) {
    // The foreground may be refused to a program in the background, so the
    // box is topmost as well.
    t_topmostHook = SetWindowsHookExW(WH_CBT, &putBoxOnTop, nullptr, GetCurrentThreadId());
    MessageBoxW(owner_, widen(name).c_str(), widen(kProgramTitle).c_str(),
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
    if (t_topmostHook != nullptr) {
        UnhookWindowsHookEx(t_topmostHook);
        t_topmostHook = nullptr;
    }
}

bool Win32Desktop::startSystemProgram(std::string_view program, std::string_view arguments) {
    return win32::startCommandLine(systemProgramCommandLine(widen(program), widen(arguments)));
}

bool Win32Desktop::openWithShell(std::string_view path) { return win32::openWithShell(owner_, widen(path)); }

}  // namespace kolvi::win32
