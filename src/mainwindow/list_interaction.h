#pragma once
// Mouse and keyboard on the alarm list: which row becomes current, what a
// double-click or Enter opens, and how the context menu opens.
#include <optional>

#include "mainwindow/menu_model.h"
#include "mainwindow/window_geometry.h"
#include "store/alarm_list.h"

namespace kolvi {

// A press of any mouse button on the list.
enum class MouseDownAction {
    makeCurrent,   // the row under the pointer becomes current and highlighted
    clearCurrent,  // empty space: remove the highlight, no current row
    nothing,       // empty space and no current row anyway
};
MouseDownAction listMouseDown(bool rowUnderPointer, bool hasCurrentRow);

// A click on a row's check box turns it over; true when the line changed
// (the caller saves). A position past the rows changes nothing.
bool toggleRowCheck(AlarmList& list, std::size_t position);

// A double-click on the list, or Enter in it.
enum class ListActivation {
    none,       // no file open
    addAlarm,   // empty space / no current row: the editor for a new alarm
    editAlarm,  // the editor for the current row
};
ListActivation listActivation(bool fileOpen, bool hasCurrentRow);

// The menu key, or Shift+F10 with Shift alone (no Ctrl, no Alt).
bool opensListPopupFromKeyboard(unsigned virtualKey, bool shift, bool ctrl, bool alt);

struct ListPopupRequest {
    bool fileOpen = false;
    bool hasCurrentRow = false;
    bool fromKeyboard = false;  // false: a right-button release on the list
    // The current row's rectangle in the list's client coordinates, which are
    // the window's (the list lies at the client area's origin). Used only
    // from the keyboard; scroll the row into view before asking for it.
    std::optional<Rect> currentRowRect;
    // The list's client size; a keyboard point is kept inside it.
    Size listSize;
};

enum class PopupAnchor {
    atPoint,    // at `point` of the client area
    atPointer,  // at the mouse pointer
};

struct ListPopupPlan {
    MenuItem defaultItem = MenuItem::popupAdd;  // drawn bold
    PopupAnchor anchor = PopupAnchor::atPointer;
    Point point;  // meaningful for atPoint only
    friend bool operator==(const ListPopupPlan&, const ListPopupPlan&) = default;
};

// How showListPopup opens the context menu; nullopt (nothing opens) when no
// file is open. With a current row the default is popupEdit; without one it
// is popupAdd (the items themselves follow the menu rules).
// From the keyboard the menu opens at the middle of the current row's left
// edge, or at the client area's top left corner when there is no current row;
// from the mouse it opens at the pointer.
std::optional<ListPopupPlan> planListPopup(const ListPopupRequest& request);

}  // namespace kolvi
