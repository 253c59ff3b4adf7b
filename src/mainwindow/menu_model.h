#pragma once
// The rules behind the main window's menus: which items are enabled and
// checked, and which commands may run. Captions, shortcut keys and command
// ids live in the resource script; the window maps ids to these items.
#include <array>
#include <cstddef>
#include <optional>

#include "store/alarm_list.h"

namespace kolvi {

enum class MenuItem {
    // Menu bar: file.
    file,
    fileNew,
    fileOpen,
    fileSaveAs,
    fileClose,
    fileDateTime,
    fileVolume,
    fileStartup,
    fileExit,
    // Menu bar: view, with the sort sub-menu.
    view,
    viewStatus,
    viewToolTip,
    viewSort,
    viewSortName,
    viewSortDay,
    viewSortTime,
    viewSortFile,
    viewSortDelete,
    // Menu bar: alarm.
    alarm,
    alarmEnable,
    alarmEdit,
    alarmDelete,
    alarmAdd,
    alarmPreview,
    // Menu bar: help.
    help,
    helpReadme,
    helpAbout,
    // The list's context menu.
    popup,
    popupEdit,
    popupDelete,
    popupAdd,
    popupPreview,
    // The notification-area icon's menu.
    trayPopup,
    trayPopupSize,
    trayPopupExit,
    trayPopupCancel,
};
inline constexpr std::size_t kMenuItemCount = static_cast<std::size_t>(MenuItem::trayPopupCancel) + 1;

// The items that open a menu rather than run a command.
inline constexpr std::array kMenus{MenuItem::file,    MenuItem::view, MenuItem::viewSort, MenuItem::alarm,
                                   MenuItem::help,    MenuItem::popup, MenuItem::trayPopup};
constexpr bool isMenu(MenuItem item) {
    for (const MenuItem menu : kMenus) {
        if (menu == item) return true;
    }
    return false;
}

// The context menu's commands on a row: they act on the row the menu was
// opened for, even if another became current while it was open.
constexpr bool isContextRowCommand(MenuItem item) {
    return item == MenuItem::popupEdit || item == MenuItem::popupDelete || item == MenuItem::popupPreview;
}

// The menu an item sits in; nullopt for the bar's menus and the two pop-ups.
std::optional<MenuItem> parentMenu(MenuItem item);

// What the enabling and check rules depend on.
struct MainWindowState {
    bool fileOpen = false;
    bool hasCurrentRow = false;  // counts only while a file is open
    Column sortColumn = Column::time;  // checks its sort item (the number column has none)
    bool alarmSwitchOn = true;   // the check mark of alarmEnable
    bool statusBarVisible = true;
    bool toolTipsOn = false;
    bool readmeExists = false;   // readme.txt in the program directory
    bool startsWithWindows = false;  // the Run entry starts this program file
};

struct MenuItemState {
    bool enabled = true;
    bool checked = false;
    friend bool operator==(const MenuItemState&, const MenuItemState&) = default;
};

MenuItemState menuItemState(MenuItem item, const MainWindowState& state);
// The item and every menu above it are enabled: a command that arrives for
// anything else (a stale accelerator, a message from outside) is ignored.
bool isCommandAvailable(MenuItem item, const MainWindowState& state);
// The item has a shortcut key (Ctrl+N, Ctrl+O, F5, Del, Ctrl+Ins, Ctrl+P)
// and isCommandAvailable: a shortcut obeys the same rules as its menu item.
bool shortcutAllowed(MenuItem item, const MainWindowState& state);
// The sort item checked for a sort column; nullopt for the number column.
std::optional<MenuItem> sortItemFor(Column column);

}  // namespace kolvi
