#include "mainwindow/win32/main_menus.h"

namespace kolvi {
namespace {

constexpr int kViewSortPosition = 3;  // in the view menu
constexpr int kPopupListMenu = 0;     // a sub-menu of the pop-up menu resource

// Renders the window's menu bar and the pop-up menus whole from the rules:
// the bar's top-level items and the sort sub-menu by position, every command
// by its id.
void renderMainMenus(HWND window, HMENU popupMenus, const MainWindowState& state) {
    const HMENU menuBar = GetMenu(window);
    const auto flags = [](const MenuItemState& s) { return static_cast<UINT>(s.enabled ? MF_ENABLED : MF_GRAYED); };
    for (const CommandRoute& route : MainFormCommands::kRoutes) {
        const MenuItemState s = menuItemState(route.item, state);
        const UINT id = static_cast<UINT>(route.id);
        const HMENU owner =
            GetMenuState(menuBar, id, MF_BYCOMMAND) != static_cast<UINT>(-1) ? menuBar : popupMenus;
        EnableMenuItem(owner, id, MF_BYCOMMAND | flags(s));
        CheckMenuItem(owner, id, MF_BYCOMMAND | (s.checked ? MF_CHECKED : MF_UNCHECKED));
    }
    const MenuItem topLevel[] = {MenuItem::file, MenuItem::view, MenuItem::alarm, MenuItem::help};
    for (UINT i = 0; i < std::size(topLevel); ++i) {
        EnableMenuItem(menuBar, i, MF_BYPOSITION | flags(menuItemState(topLevel[i], state)));
    }
    EnableMenuItem(GetSubMenu(menuBar, 1), kViewSortPosition,
                   MF_BYPOSITION | flags(menuItemState(MenuItem::viewSort, state)));
    if (IsWindowVisible(window)) DrawMenuBar(window);  // a hidden window draws it when shown
}

}  // namespace

void MainForm::renderMenus() { renderMainMenus(hwnd(), menus_.popups.get(), menuState()); }

MainWindowState MainForm::menuState() const {
    MainWindowState state = model_.menuState(alarms_, files_.fs.isOrdinaryFile(readmePath()));
    state.startsWithWindows = menus_.startup.ticked();
    return state;
}

void MainForm::alarmList_ContextMenu(MenuItem defaultItem, std::optional<POINT> screenPoint) {
    if (!alarms_.isFileOpen()) return;
    menus_.popupRowId = alarms_.currentRowId();
    renderMenus();
    const HMENU menu = GetSubMenu(menus_.popups.get(), kPopupListMenu);
    SetMenuDefaultItem(menu, static_cast<UINT>(commandId(defaultItem)), FALSE);
    POINT at{};
    if (screenPoint) {
        at = *screenPoint;
    } else {
        GetCursorPos(&at);
    }
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
}

int MainForm::commandId(MenuItem item) { return MainFormCommands::find(item)->id; }

void MainForm::routeCommand(int id, bool fromAccelerator) {
    const CommandRoute* route = MainFormCommands::find(id);
    if (route == nullptr) return;
    // The context menu's commands act on the row it was opened for, even if
    // an alarm fired (and became current) while the menu was open.
    if (isContextRowCommand(route->item)) {
        const auto position = menus_.popupRowId ? alarms_.findRow(*menus_.popupRowId) : std::nullopt;
        if (!position) return;
        alarms_.makeCurrent(*position, true);
        listView_.refresh();
    }
    // A shortcut obeys the same enabling rules as its menu item, worked out
    // afresh now rather than when the menu last opened.
    const MainWindowState state = menuState();
    if (fromAccelerator && !shortcutAllowed(route->item, state)) return;
    if (!isCommandAvailable(route->item, state)) return;
    (this->*route->handler)();
}

}  // namespace kolvi
