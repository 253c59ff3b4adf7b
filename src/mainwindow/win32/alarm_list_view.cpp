#include "mainwindow/win32/alarm_list_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "mainwindow/list_interaction.h"
#include "mainwindow/win32/window_placement.h"
#include "platform/win32/text.h"
#include "schedule/countdown_text.h"

namespace kolvi {
namespace {

bool keyDown(int key) { return GetKeyState(key) < 0; }

// The tip's one tool, which covers the whole list.
TTTOOLINFOW toolInfo(HWND list) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = list;
    tool.uId = 1;
    return tool;
}

}  // namespace

void ListToolTip::attach(HWND list, TextAt textAt) {
    list_ = list;
    textAt_ = std::move(textAt);
}

void ListToolTip::setOn(bool on) {
    on_ = on;
    if (!on || tip_ != nullptr) return;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(list_), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (tip_ == nullptr) return;
    TTTOOLINFOW tool = toolInfo(list_);
    tool.uFlags = TTF_SUBCLASS;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    GetClientRect(list_, &tool.rect);
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 800);
}

void ListToolTip::fitList() {
    if (tip_ == nullptr) return;
    TTTOOLINFOW tool = toolInfo(list_);
    GetClientRect(list_, &tool.rect);
    SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ListToolTip::list_MouseMove(POINT at, int item) {
    if (tip_ == nullptr) return;
    // A new row under the pointer pops the tip, so that it comes back over
    // the new row; within a row the count goes on as the clock does.
    if (item != hoveredRow_) {
        hoveredRow_ = item;
        SendMessageW(tip_, TTM_POP, 0, 0);
    } else if (win32::widen(textAt_(at)) != text_) {
        // Handing the tool its callback again makes a tip on show ask for
        // its text anew.
        TTTOOLINFOW tool = toolInfo(list_);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

std::optional<LRESULT> ListToolTip::notify(NMHDR& header) {
    if (tip_ == nullptr || header.hwndFrom != tip_ || header.code != TTN_GETDISPINFOW) return std::nullopt;
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(list_, &at);
    text_ = win32::widen(textAt_(at));
    reinterpret_cast<NMTTDISPINFOW&>(header).lpszText = text_.data();
    return 0;
}

AlarmListView::AlarmListView(AlarmList& alarms, const Clock& clock, AlarmListEvents& events)
    : alarms_(alarms), clock_(clock), events_(events) {}

AlarmListView::Hit AlarmListView::hitTest(POINT listPoint) const {
    LVHITTESTINFO hit{};
    hit.pt = listPoint;
    const int item = ListView_HitTest(listView_, &hit);
    return {item, hit.flags};
}

int AlarmListView::scale(int logicalPixels) const { return MulDiv(logicalPixels, static_cast<int>(dpi_), 96); }

bool AlarmListView::create(HWND parent, int id, UINT dpi, HFONT font) {
    dpi_ = dpi;
    listView_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                    LVS_SHOWSELALWAYS,
                                0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (listView_ == nullptr) return false;
    // Check boxes must be on before any row exists.
    // No label tips: the countdown tip is the list's one tip.
    ListView_SetExtendedListViewStyle(listView_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    // The model holds the check and fired marks; the control asks for them.
    SendMessageW(listView_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK | LVIS_CUT, 0);
    subclass_.attach(listView_, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return listView_Message(message, wParam, lParam);
    });
    toolTip_.attach(listView_, [this](POINT at) { return toolTipTextAt(at); });
    // The font before the columns: the header is measured once, not again.
    SendMessageW(listView_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (int c = 0; c < kColumnCount; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        std::wstring& header = shownHeaders_[static_cast<std::size_t>(c)];
        header = win32::widen(alarms_.column(c).header);
        column.pszText = const_cast<wchar_t*>(header.c_str());
        column.cx = scale(alarms_.column(c).width);
        column.iSubItem = c;
        ListView_InsertColumn(listView_, c, &column);
    }
    return true;
}

void AlarmListView::moveTo(const Rect& place) {
    MoveWindow(listView_, place.left, place.top, place.width(), place.height(), TRUE);
    toolTip_.fitList();
}

void AlarmListView::setFont(HFONT font) { SendMessageW(listView_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

void AlarmListView::setBackground(COLORREF color) {
    ListView_SetBkColor(listView_, color);
    ListView_SetTextBkColor(listView_, color);
    InvalidateRect(listView_, nullptr, TRUE);
}

void AlarmListView::setDpi(UINT dpi) {
    // The control still holds the widths at the old dpi.
    readColumnWidths();
    dpi_ = dpi;
    applyColumnWidths();
}

void AlarmListView::applyColumnWidths() {
    for (int c = 0; c < kColumnCount; ++c) ListView_SetColumnWidth(listView_, c, scale(alarms_.column(c).width));
}

void AlarmListView::readColumnWidths() {
    for (int c = 0; c < kColumnCount; ++c) {
        alarms_.setColumnWidth(c, MulDiv(ListView_GetColumnWidth(listView_, c), 96, static_cast<int>(dpi_)));
    }
}

void AlarmListView::refreshHeaders() {
    for (int c = 0; c < kColumnCount; ++c) {
        std::wstring text = win32::widen(alarms_.column(c).header);
        std::wstring& header = shownHeaders_[static_cast<std::size_t>(c)];
        if (text == header) continue;
        header = std::move(text);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(header.c_str());
        ListView_SetColumn(listView_, c, &column);
    }
}

void AlarmListView::refresh() {
    // The user's column widths belong to the control between start and exit.
    ListView_SetItemCountEx(listView_, static_cast<int>(alarms_.rowCount()), LVSICF_NOSCROLL);
    refreshHeaders();
    syncSelection();
    InvalidateRect(listView_, nullptr, FALSE);
}

void AlarmListView::scrollToTop() {
    if (ListView_GetItemCount(listView_) > 0) ListView_EnsureVisible(listView_, 0, FALSE);
}

void AlarmListView::showRow(std::size_t position) {
    ListView_EnsureVisible(listView_, static_cast<int>(position), FALSE);
}

void AlarmListView::redrawRow(std::size_t position) {
    ListView_RedrawItems(listView_, static_cast<int>(position), static_cast<int>(position));
}

void AlarmListView::syncSelection() {
    syncing_ = true;
    ListView_SetItemState(listView_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (const auto current = alarms_.currentPosition()) {
        const int item = static_cast<int>(*current);
        const bool highlighted = alarms_.row(*current).selected;
        ListView_SetItemState(listView_, item, highlighted ? (LVIS_SELECTED | LVIS_FOCUSED) : LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetSelectionMark(listView_, item);
        if (highlighted) ListView_EnsureVisible(listView_, item, FALSE);
    }
    syncing_ = false;
}

std::optional<LRESULT> AlarmListView::notify(NMHDR& header) {
    if (header.hwndFrom == listView_) {
        switch (header.code) {
        case LVN_GETDISPINFOW:
            return listView_GetDispInfo(header);
        case LVN_COLUMNCLICK:
            events_.alarmList_ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
            return 0;
        case LVN_ITEMCHANGED:
            return listView_ItemChanged(header);
        case LVN_ODFINDITEMW:
            return listView_FindItem(header);
        default:
            return 0;
        }
    }
    return toolTip_.notify(header);
}

LRESULT AlarmListView::listView_GetDispInfo(NMHDR& header) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= alarms_.rowCount()) return 0;
    const AlarmRow& row = alarms_.row(static_cast<std::size_t>(item.iItem));
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

// Typing in the list: an owner-data list asks its parent which row the typed
// text names; the answer is a prefix match on the number column, searching
// on from the row after the focused one, as a plain list does on its first
// column. -1 (no row) leaves the current row where it is.
LRESULT AlarmListView::listView_FindItem(NMHDR& header) {
    const NMLVFINDITEMW& find = reinterpret_cast<NMLVFINDITEMW&>(header);
    if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find.lvfi.psz == nullptr) return -1;
    const std::size_t start = find.iStart < 0 ? 0 : static_cast<std::size_t>(find.iStart);
    const auto found = alarms_.findByNumberPrefix(win32::narrow(find.lvfi.psz), start);
    return found ? static_cast<LRESULT>(*found) : -1;
}

LRESULT AlarmListView::listView_ItemChanged(NMHDR& header) {
    const NMLISTVIEW& change = reinterpret_cast<NMLISTVIEW&>(header);
    if (syncing_ || change.iItem < 0 || (change.uChanged & LVIF_STATE) == 0) return 0;
    const bool nowSelected = (change.uNewState & LVIS_SELECTED) != 0;
    const bool wasSelected = (change.uOldState & LVIS_SELECTED) != 0;
    if (nowSelected && !wasSelected && static_cast<std::size_t>(change.iItem) < alarms_.rowCount()) {
        alarms_.makeCurrent(static_cast<std::size_t>(change.iItem), true);
    }
    return 0;
}

void AlarmListView::listView_MouseDown(POINT at) {
    const Hit hit = hitTest(at);
    const bool onRow = hit.item >= 0 && (hit.flags & LVHT_ONITEM) != 0;
    switch (listMouseDown(onRow, alarms_.hasCurrentRow())) {
    case MouseDownAction::makeCurrent:
        alarms_.makeCurrent(static_cast<std::size_t>(hit.item), true);
        break;
    case MouseDownAction::clearCurrent:
        alarms_.clearCurrent();
        break;
    case MouseDownAction::nothing:
        break;
    }
    syncSelection();
}

void AlarmListView::listView_MouseUp() {
    ListPopupRequest request;
    request.fileOpen = alarms_.isFileOpen();
    request.hasCurrentRow = alarms_.hasCurrentRow();
    request.fromKeyboard = false;
    if (const auto plan = planListPopup(request)) events_.alarmList_ContextMenu(plan->defaultItem, std::nullopt);
}

void AlarmListView::listView_KeyboardMenu() {
    ListPopupRequest request;
    request.fileOpen = alarms_.isFileOpen();
    request.hasCurrentRow = alarms_.hasCurrentRow();
    request.fromKeyboard = true;
    RECT client{};
    GetClientRect(listView_, &client);
    request.listSize = {client.right, client.bottom};
    if (const auto current = alarms_.currentPosition(); current && request.hasCurrentRow) {
        ListView_EnsureVisible(listView_, static_cast<int>(*current), FALSE);
        RECT row{};
        row.left = LVIR_BOUNDS;
        if (ListView_GetItemRect(listView_, static_cast<int>(*current), &row, LVIR_BOUNDS)) {
            request.currentRowRect = toRect(row);
        }
    }
    if (const auto plan = planListPopup(request)) {
        POINT at{plan->point.x, plan->point.y};
        ClientToScreen(listView_, &at);
        events_.alarmList_ContextMenu(plan->defaultItem, at);
    }
}

// Check boxes, mouse presses and the keyboard are handled here: an owner-data
// list view keeps no check state of its own, and doing it here behaves the
// same on every version of the control (no double toggles, no missed space
// key, the context menu on the button's release).
std::optional<LRESULT> AlarmListView::listView_Message(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // With full-row select every cell reports the whole item part, so
        // only that exact answer means the check box itself.
        if (const Hit hit = hitTest(at); hit.item >= 0 && (hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON) {
            SetFocus(listView_);
            listView_MouseDown(at);
            events_.alarmList_ItemCheck(static_cast<std::size_t>(hit.item));
            return 0;
        }
        listView_MouseDown(at);
        if (message == WM_LBUTTONDBLCLK) {
            SetFocus(listView_);
            events_.alarmList_Activate();
            return 0;
        }
        return std::nullopt;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        SetFocus(listView_);
        listView_MouseDown(at);
        return 0;
    case WM_RBUTTONUP:
        listView_MouseUp();
        return 0;
    case WM_MBUTTONDOWN:
        listView_MouseDown(at);
        return std::nullopt;
    case WM_MOUSEMOVE:
        toolTip_.list_MouseMove(at, hitTest(at).item);
        return std::nullopt;
    case WM_CONTEXTMENU:
        return 0;  // opened by the handlers above
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return listView_KeyDown(message, wParam);
    case WM_CHAR:
        // Already handled as keys; no search and no beep.
        if (wParam == L' ' || wParam == L'\r') return 0;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> AlarmListView::listView_KeyDown(UINT message, WPARAM key) {
    if (opensListPopupFromKeyboard(static_cast<unsigned>(key), keyDown(VK_SHIFT), keyDown(VK_CONTROL),
                                   keyDown(VK_MENU))) {
        listView_KeyboardMenu();
        return 0;
    }
    if (message == WM_KEYDOWN && key == VK_SPACE) {
        int item = ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
        if (item < 0) {
            if (const auto current = alarms_.currentPosition()) item = static_cast<int>(*current);
        }
        if (item >= 0) events_.alarmList_ItemCheck(static_cast<std::size_t>(item));
        return 0;
    }
    if (message == WM_KEYDOWN && key == VK_RETURN) {
        events_.alarmList_Activate();
        return 0;
    }
    return std::nullopt;
}

std::string AlarmListView::toolTipTextAt(POINT listPoint) const {
    const int item = hitTest(listPoint).item;
    const AlarmRow* row = item >= 0 && static_cast<std::size_t>(item) < alarms_.rowCount()
                              ? &alarms_.row(static_cast<std::size_t>(item))
                              : nullptr;
    return rowCountdownText(toolTip_.on(), row, clock_.now());
}

}  // namespace kolvi
