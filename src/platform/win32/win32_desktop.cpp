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

void Win32Desktop::showAlarmMessage(std::string_view name) {
    // The foreground may be refused to a program in the background, so the
    // box is topmost as well.
    MessageBoxW(owner_, widen(name).c_str(), widen(kProgramTitle).c_str(),
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
}

bool Win32Desktop::startSystemProgram(std::string_view program, std::string_view arguments) {
    return win32::startCommandLine(systemProgramCommandLine(widen(program), widen(arguments)));
}

bool Win32Desktop::openWithShell(std::string_view path) { return win32::openWithShell(owner_, widen(path)); }

}  // namespace kolvi::win32
