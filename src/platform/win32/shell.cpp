#include "platform/win32/shell.h"

#include <shellapi.h>

#include "platform/win32/system_library.h"
#include "platform/win32/unique_handle.h"

namespace kolvi::win32 {

bool openWithShell(HWND owner, const std::wstring& path) {
    auto* execute = shell32().function<decltype(ShellExecuteW)>("ShellExecuteW");
    if (execute == nullptr) return false;
    const auto result = reinterpret_cast<INT_PTR>(execute(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool startCommandLine(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    std::wstring mutableLine = commandLine;  // CreateProcessW may write into it
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    UniqueKernelHandle thread(process.hThread);
    UniqueKernelHandle handle(process.hProcess);
    return true;
}

std::wstring systemProgramCommandLine(const std::wstring& program, const std::wstring& arguments) {
    std::wstring directory(MAX_PATH, L'\0');
    const UINT n = GetSystemDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    directory.resize(n < directory.size() ? n : 0);
    std::wstring line = L"\"" + directory + L"\\" + program + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    return line;
}

}  // namespace kolvi::win32
