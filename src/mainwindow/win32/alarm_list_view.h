#pragma once
// The alarm list as a virtual (owner-data) report list view: the control,
// its subclass, the tool tip, the check boxes and the selection, drawn from
// the AlarmList. What the user asks of the list is reported through
// AlarmListEvents; the view decides nothing beyond Win32 mechanics.
#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "mainwindow/menu_model.h"
#include "mainwindow/window_geometry.h"
#include "platform/clock.h"
#include "platform/win32/control_subclass.h"
#include "store/alarm_list.h"

namespace kolvi {

class AlarmListEvents {
public:
    virtual ~AlarmListEvents() = default;
    // The user ticked or cleared a row's check box (mouse on the box, Space).
    virtual void alarmList_ItemCheck(std::size_t position) = 0;
    // A click on a column header; subitem 0 is the number column.
    virtual void alarmList_ColumnClick(int subitem) = 0;
    // The context menu is asked for, with its default item, at a point of
    // the screen (nullopt: at the mouse pointer).
    virtual void alarmList_ContextMenu(MenuItem defaultItem, std::optional<POINT> screenPoint) = 0;
    // A double-click, or Enter.
    virtual void alarmList_Activate() = 0;
};

// The list's one tool tip: a single tool over the whole list, whose text is
// asked for when it shows. Made when tips are first switched on (they are off
// by default), so that a start without them does not pay for the window.
class ListToolTip {
public:
    // The tip's text for a point of the list (empty: no tip).
    using TextAt = std::function<std::string(POINT listPoint)>;

    void attach(HWND list, TextAt textAt);
    void setOn(bool on);
    bool on() const { return on_; }
    // The list was moved or resized: the tool covers it again.
    void fitList();
    // The pointer moved over the list, onto row `item` (-1: none).
    void list_MouseMove(POINT at, int item);
    // TTN_GETDISPINFOW of this tip; nullopt for every other notification.
    std::optional<LRESULT> notify(NMHDR& header);

private:
    HWND list_ = nullptr;
    HWND tip_ = nullptr;
    TextAt textAt_;
    std::wstring text_;
    int hoveredRow_ = -1;
    bool on_ = false;
};

class AlarmListView {
public:
    AlarmListView(AlarmList& alarms, const Clock& clock, AlarmListEvents& events);
    AlarmListView(const AlarmListView&) = delete;
    AlarmListView& operator=(const AlarmListView&) = delete;

    bool create(HWND parent, int id, UINT dpi, HFONT font);
    HWND hwnd() const { return listView_; }

    // Row count, headers and selection from the model, then a repaint.
    void refresh();
    void redrawRow(std::size_t position);
    void scrollToTop();
    void showRow(std::size_t position);
    void setBackground(COLORREF color);
    void setFont(HFONT font);
    void moveTo(const Rect& place);
    void setToolTipsOn(bool on) { toolTip_.setOn(on); }
    // The dpi changes: the widths are read at the old dpi first.
    void setDpi(UINT dpi);
    // Widths move between the control (pixels at its dpi) and the model
    // (pixels at 96 dpi).
    void applyColumnWidths();
    void readColumnWidths();

    // WM_NOTIFY of the list or its tool tip, passed on by the parent; nullopt
    // for notifications of other controls.
    std::optional<LRESULT> notify(NMHDR& header);
    // The tool-tip text for a point of the list (empty: no tip).
    std::string toolTipTextAt(POINT listPoint) const;

private:
    // The row at a point of the list (-1: none) and where on it the point is.
    struct Hit {
        int item = -1;
        UINT flags = 0;
    };
    Hit hitTest(POINT listPoint) const;

    std::optional<LRESULT> listView_Message(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> listView_KeyDown(UINT message, WPARAM key);
    LRESULT listView_GetDispInfo(NMHDR& header);
    LRESULT listView_ItemChanged(NMHDR& header);
    LRESULT listView_FindItem(NMHDR& header);
    void listView_MouseDown(POINT at);
    void listView_MouseUp();
    void listView_KeyboardMenu();
    void syncSelection();
    void refreshHeaders();
    int scale(int logicalPixels) const;

    AlarmList& alarms_;
    const Clock& clock_;
    AlarmListEvents& events_;
    HWND listView_ = nullptr;
    win32::ControlSubclass subclass_;
    ListToolTip toolTip_;
    // The header texts the control shows: setting one redraws the header,
    // so only a changed sort mark is written.
    std::array<std::wstring, kColumnCount> shownHeaders_;
    UINT dpi_ = 96;
    bool syncing_ = false;  // selection changes made by us, not the user
};

}  // namespace kolvi
