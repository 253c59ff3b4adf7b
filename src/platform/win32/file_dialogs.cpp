#include "platform/win32/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32/text.h"

namespace kolvi::win32 {
namespace {

// Room for long paths; the dialogs fail rather than truncate when a chosen
// name does not fit.
constexpr DWORD kNameBufferSize = 4096;
constexpr wchar_t kFilter[] = L"アラームファイル(*.alm)\0*.alm\0";

OPENFILENAMEW baseRequest(HWND owner, std::vector<wchar_t>& buffer) {
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = kFilter;
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
    if (!GetOpenFileNameW(&request)) return {};
    return narrow(buffer.data());
}

std::string askSaveAlarmFile(HWND owner, const std::wstring& title) {
    std::vector<wchar_t> buffer(kNameBufferSize, L'\0');
    OPENFILENAMEW request = baseRequest(owner, buffer);
    request.lpstrDefExt = L"alm";
    request.lpstrTitle = title.empty() ? nullptr : title.c_str();
    request.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&request)) return {};
    return narrow(buffer.data());
}

}  // namespace kolvi::win32
