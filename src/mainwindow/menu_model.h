#pragma once
// The main window's menus as data: every item of the menu bar, of the list's
// context menu and of the notification-area menu, with its caption, shortcut
// and command id, and the rules that enable and check them. The window only
// renders what menuItemState says and asks shortcutAllowed before acting on
// an accelerator.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvi {

enum class MenuItem {
    // Menu bar: file.
    file,
    fileNew,
    fileOpen,
    fileSaveAs,
    fileClose,
    fileBar1,
    fileDateTime,
    fileVolume,
    fileBar2,
    fileExit,
    // Menu bar: view, with the sort sub-menu.
    view,
    viewStatus,
    viewToolTip,
    viewBar,
    viewSort,
    viewSortName,
    viewSortDay,
    viewSortTime,
    viewSortFile,
    viewSortDelete,
    // Menu bar: alarm.
    alarm,
    alarmEnable,
    alarmBar1,
    alarmEdit,
    alarmDelete,
    alarmBar2,
    alarmAdd,
    alarmBar3,
    alarmPreview,
    // Menu bar: help.
    help,
    helpReadme,
    helpBar,
    helpAbout,
    // The list's context menu.
    popup,
    popupEdit,
    popupDelete,
    popupBar1,
    popupAdd,
    popupBar2,
    popupPreview,
    // The notification-area icon's menu.
    trayPopup,
    trayPopupSize,
    trayPopupBar1,
    trayPopupExit,
    trayPopupBar2,
    trayPopupCancel,
};

// A shortcut key: its description for the menu and its virtual key with the
// Ctrl modifier (no shortcut of this window uses Shift or Alt).
struct Shortcut {
    std::string_view text;
    int virtualKey = 0;
    bool ctrl = false;
};

// Every item, depth first in menu order: the four menus of the bar, then the
// context menu, then the notification-area menu.
std::span<const MenuItem> allMenuItems();
// The menu an item sits in; nullopt for the bar's menus and the two pop-ups.
std::optional<MenuItem> parentMenu(MenuItem item);
// The items of a menu in order (empty for a plain item).
std::vector<MenuItem> menuChildren(MenuItem menu);
bool isSeparator(MenuItem item);
bool isMenu(MenuItem item);  // has children

std::string_view menuCaption(MenuItem item);
std::optional<Shortcut> menuShortcut(MenuItem item);
// The caption as a menu shows it: with a tab and the shortcut text when
// the item has a shortcut.
std::string menuLabel(MenuItem item);

// The WM_COMMAND id of a command item (0 for menus and separators), and back.
int commandId(MenuItem item);
std::optional<MenuItem> menuItemForCommand(int id);

// What the enabling and check rules depend on.
struct MainWindowState {
    bool fileOpen = false;
    bool hasCurrentRow = false;  // counts only while a file is open
    int sortKey = 3;             // 0-5; 1-5 check the matching sort item
    bool alarmSwitchOn = true;   // the check mark of alarmEnable
    bool statusBarVisible = true;
    bool toolTipsOn = false;
    bool readmeExists = false;   // readme.txt in the program directory
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
// The item has a shortcut and isCommandAvailable: F5, Del, Ctrl+Ins and
// Ctrl+P obey the same rules as the menu.
bool shortcutAllowed(MenuItem item, const MainWindowState& state);

// The sort item checked for a sort key; nullopt for key 0 (the number
// column) and any key outside 1-5.
std::optional<MenuItem> sortItemForKey(int sortKey);
// The column header (1-6) a sort item stands for; nullopt for other items.
std::optional<int> sortColumnForItem(MenuItem item);

}  // namespace kolvi
