#include "mainwindow/main_form.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "mainwindow/file_state.h"
#include "platform/win32/text.h"
#include "platform/win32/ui_font.h"

namespace kolvi {
namespace {

constexpr wchar_t kClassName[] = L"KolviAlarmMainForm";
constexpr UINT_PTR kListSubclassId = 1;
constexpr int kListId = 100;

}  // namespace

MainForm::MainForm(AlarmList& list, const AlarmFileContext& files) : model_(list), files_(files) {}

bool MainForm::create(int width, int height) {
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!createWindow(kClassName, icon, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      win32::widen(kProgramTitle).c_str(), CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr,
                      nullptr)) {
        return false;
    }
    // The window was created at 96-dpi size; bring it to the monitor's scale.
    if (dpi_ != 96) {
        SetWindowPos(hwnd(), nullptr, 0, 0, scale(width), scale(height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

int MainForm::scale(int logicalPixels) const { return MulDiv(logicalPixels, static_cast<int>(dpi_), 96); }

LRESULT MainForm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return form_Create();
    case WM_SIZE:
        return form_Size(LOWORD(lParam), HIWORD(lParam));
    case WM_DPICHANGED:
        return form_DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_NOTIFY:
        return form_Notify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_SETFOCUS:
        if (list_ != nullptr && IsWindowVisible(list_)) SetFocus(list_);
        return 0;
    case WM_DESTROY:
        if (list_ != nullptr) RemoveWindowSubclass(list_, &MainForm::listSubclassProc, kListSubclassId);
        PostQuitMessage(0);
        return 0;
    default:
        return WindowBase::handleMessage(message, wParam, lParam);
    }
}

LRESULT MainForm::form_Create() {
    dpi_ = GetDpiForWindow(hwnd());
    if (dpi_ == 0) dpi_ = 96;
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                LVS_SHOWSELALWAYS,
                            0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                            GetModuleHandleW(nullptr), nullptr);
    if (list_ == nullptr) return -1;
    // Check boxes must be on before any row exists.
    ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER |
                                                 LVS_EX_LABELTIP);
    // The model holds the check and fired marks; the control asks for them.
    SendMessageW(list_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK | LVIS_CUT, 0);
    SetWindowSubclass(list_, &MainForm::listSubclassProc, kListSubclassId, reinterpret_cast<DWORD_PTR>(this));
    for (int c = 0; c < kColumnCount; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        const std::wstring header = win32::widen(model_.column(c).header);
        column.pszText = const_cast<wchar_t*>(header.c_str());
        column.cx = scale(model_.column(c).width);
        column.iSubItem = c;
        ListView_InsertColumn(list_, c, &column);
    }
    applyFont();
    return 0;
}

LRESULT MainForm::form_Size(int width, int height) {
    if (list_ != nullptr) MoveWindow(list_, 0, 0, width, height, TRUE);
    return 0;
}

LRESULT MainForm::form_DpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    applyFont();
    applyColumnWidths();
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void MainForm::applyFont() {
    font_ = win32::createUiFont(dpi_);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void MainForm::applyColumnWidths() {
    for (int c = 0; c < kColumnCount; ++c) ListView_SetColumnWidth(list_, c, scale(model_.column(c).width));
}

void MainForm::refreshHeaders() {
    for (int c = 0; c < kColumnCount; ++c) {
        const std::wstring header = win32::widen(model_.column(c).header);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(header.c_str());
        ListView_SetColumn(list_, c, &column);
    }
}

void MainForm::showFileState(const std::string& openedPath) {
    SetWindowTextW(hwnd(), win32::widen(mainWindowTitle(openedPath)).c_str());
    refreshList();
    ShowWindow(list_, model_.isFileOpen() ? SW_SHOW : SW_HIDE);
}

void MainForm::refreshList() {
    ListView_SetItemCountEx(list_, static_cast<int>(model_.rowCount()), 0);
    refreshHeaders();
    applyColumnWidths();
    syncSelection();
    InvalidateRect(list_, nullptr, FALSE);
}

void MainForm::syncSelection() {
    syncing_ = true;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (const auto current = model_.currentPosition()) {
        const int item = static_cast<int>(*current);
        const UINT state = model_.row(*current).selected ? (LVIS_SELECTED | LVIS_FOCUSED) : LVIS_FOCUSED;
        ListView_SetItemState(list_, item, state, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetSelectionMark(list_, item);
        if (model_.row(*current).selected) ListView_EnsureVisible(list_, item, FALSE);
    }
    syncing_ = false;
}

LRESULT MainForm::form_Notify(NMHDR& header) {
    if (header.hwndFrom != list_) return 0;
    struct Handler {
        UINT code;
        LRESULT (MainForm::*handler)(NMHDR&);
    };
    static constexpr Handler kHandlers[] = {
        {LVN_GETDISPINFOW, &MainForm::alarmList_GetDispInfo},
        {LVN_COLUMNCLICK, &MainForm::alarmList_ColumnClickNotify},
        {LVN_ITEMCHANGED, &MainForm::alarmList_ItemChanged},
    };
    for (const Handler& h : kHandlers) {
        if (h.code == header.code) return (this->*h.handler)(header);
    }
    return 0;
}

LRESULT MainForm::alarmList_GetDispInfo(NMHDR& header) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= model_.rowCount()) return 0;
    const AlarmRow& row = model_.row(static_cast<std::size_t>(item.iItem));
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0 && item.iSubItem >= 0 &&
        item.iSubItem < kColumnCount) {
        const std::wstring text = win32::widen(row.texts[static_cast<std::size_t>(item.iSubItem)]);
        const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        std::wmemcpy(item.pszText, text.data(), n);
        item.pszText[n] = L'\0';
    }
    if ((item.mask & LVIF_STATE) != 0) {
        item.state = INDEXTOSTATEIMAGEMASK(row.checked ? 2 : 1) | (row.ghosted ? LVIS_CUT : 0);
        item.stateMask = LVIS_STATEIMAGEMASK | LVIS_CUT;
    }
    return 0;
}

LRESULT MainForm::alarmList_ColumnClickNotify(NMHDR& header) {
    alarmList_ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
    return 0;
}

void MainForm::alarmList_ColumnClick(int column) {
    // The number column only follows the order; it is never a click target.
    if (column <= 0 || column >= kColumnCount) return;
    model_.applySort(column, -1);
    refreshList();
}

LRESULT MainForm::alarmList_ItemChanged(NMHDR& header) {
    const NMLISTVIEW& change = reinterpret_cast<NMLISTVIEW&>(header);
    if (syncing_ || change.iItem < 0 || (change.uChanged & LVIF_STATE) == 0) return 0;
    const bool nowSelected = (change.uNewState & LVIS_SELECTED) != 0;
    const bool wasSelected = (change.uOldState & LVIS_SELECTED) != 0;
    if (nowSelected && !wasSelected && static_cast<std::size_t>(change.iItem) < model_.rowCount()) {
        model_.makeCurrent(static_cast<std::size_t>(change.iItem), true);
    }
    return 0;
}

void MainForm::alarmList_ItemCheck(std::size_t position) {
    if (position >= model_.rowCount()) return;
    const bool checked = !model_.row(position).checked;
    if (model_.changeCheck(position, checked)) saveAlarmFile(model_, files_);
    ListView_RedrawItems(list_, static_cast<int>(position), static_cast<int>(position));
}

// The list's check boxes are ours: an owner-data list view does not keep
// them, and toggling them here behaves the same on every version of the
// control (no double toggles, no missed space key).
LRESULT CALLBACK MainForm::listSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
    auto* self = reinterpret_cast<MainForm*>(data);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        LVHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int item = ListView_HitTest(hwnd, &hit);
        if (item >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
            SetFocus(hwnd);
            self->alarmList_ItemCheck(static_cast<std::size_t>(item));
            return 0;
        }
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            int item = ListView_GetNextItem(hwnd, -1, LVNI_FOCUSED);
            if (item < 0) {
                if (const auto current = self->model_.currentPosition()) item = static_cast<int>(*current);
            }
            if (item >= 0) self->alarmList_ItemCheck(static_cast<std::size_t>(item));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L' ') return 0;  // already handled as a key; no search beep
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace kolvi
