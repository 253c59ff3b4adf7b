#include "platform/win32/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32/system_library.h"
#include "platform/win32/text.h"
#include "texts/editor_texts.h"
#include "texts/main_window_texts.h"

namespace kolvi::win32 {
namespace {

// Room for long paths; the dialogs fail rather than truncate when a chosen
// name does not fit.
constexpr DWORD kNameBufferSize = 4096;

// Description NUL pattern NUL NUL.
std::wstring filter(std::string_view name, std::string_view pattern) {
    std::wstring text = widen(name);
    text += L'\0';
    text += widen(pattern);
    text += L'\0';
    return text;
}

OPENFILENAMEW baseRequest(HWND owner, std::vector<wchar_t>& buffer) {
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    static const std::wstring kFilter = filter(kAlarmFileFilterName, kAlarmFileFilterPattern);
    request.lpstrFilter = kFilter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = buffer.data();
    request.nMaxFile = static_cast<DWORD>(buffer.size());
    return request;
}

}  // namespace

std::string askOpenAlarmFile(HWND owner) {
    std::vector<wchar_t> buffer(kNameBufferSize, L'\0');
    OPENFILENAMEW request = baseRequest(owner, buffer);
    request.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    auto* open = comdlg32().function<decltype(GetOpenFileNameW)>("GetOpenFileNameW");
    if (open == nullptr || !open(&request)) return {};
    return narrow(buffer.data());
}

std::string askSaveAlarmFile(HWND owner, const std::wstring& title) {
    std::vector<wchar_t> buffer(kNameBufferSize, L'\0');
    OPENFILENAMEW request = baseRequest(owner, buffer);
    request.lpstrDefExt = L"alm";
    request.lpstrTitle = title.empty() ? nullptr : title.c_str();
    request.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    auto* save = comdlg32().function<decltype(GetSaveFileNameW)>("GetSaveFileNameW");
    if (save == nullptr || !save(&request)) return {};
    return narrow(buffer.data());
}

std::string askOpenAnyFile(HWND owner, const std::string& folder) {
    // The longest path the system allows, so that no chosen name is refused.
    std::vector<wchar_t> buffer(32768, L'\0');
    OPENFILENAMEW request = baseRequest(owner, buffer);
    static const std::wstring kAnyFile = filter(kAnyFileFilterName, kAnyFileFilterPattern);
    request.lpstrFilter = kAnyFile.c_str();
    const std::wstring start = widen(folder);
    request.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    request.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLESIZING;
    auto* open = comdlg32().function<decltype(GetOpenFileNameW)>("GetOpenFileNameW");
    if (open == nullptr || !open(&request)) return {};
    return narrow(buffer.data());
}

}  // namespace kolvi::win32
