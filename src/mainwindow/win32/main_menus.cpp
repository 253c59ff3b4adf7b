#include "mainwindow/win32/main_menus.h"

namespace kolvi {
namespace {

constexpr int kViewSortPosition = 3;  // in the view menu

}  // namespace

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

}  // namespace kolvi
