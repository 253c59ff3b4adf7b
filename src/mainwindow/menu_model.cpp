#include "mainwindow/menu_model.h"

namespace kolvi {
namespace {

using M = MenuItem;

// By column; the number column has no sort item.
constexpr std::array<std::optional<MenuItem>, kColumnCount> kSortItems{
    std::nullopt, M::viewSortName, M::viewSortDay, M::viewSortTime, M::viewSortFile, M::viewSortDelete};

bool hasShortcut(MenuItem item) {
    switch (item) {
    case M::fileNew:
    case M::fileOpen:
    case M::alarmEnable:
    case M::alarmDelete:
    case M::alarmAdd:
    case M::alarmPreview:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::optional<MenuItem> parentMenu(MenuItem item) {
    const auto at = [item](MenuItem first, MenuItem last) { return item >= first && item <= last; };
    if (at(M::fileNew, M::fileExit)) return M::file;
    if (at(M::viewStatus, M::viewSort)) return M::view;
    if (at(M::viewSortName, M::viewSortDelete)) return M::viewSort;
    if (at(M::alarmEnable, M::alarmPreview)) return M::alarm;
    if (at(M::helpReadme, M::helpAbout)) return M::help;
    if (at(M::popupEdit, M::popupPreview)) return M::popup;
    if (at(M::trayPopupSize, M::trayPopupCancel)) return M::trayPopup;
    return std::nullopt;
}

// An item's own state, without looking at the menus above it.
MenuItemState menuItemState(MenuItem item, const MainWindowState& s) {
    const bool current = s.fileOpen && s.hasCurrentRow;
    switch (item) {
    case M::fileSaveAs:
    case M::fileClose:
    case M::viewSort:
    case M::alarm:
        return {s.fileOpen, false};
    case M::viewStatus:
        return {true, s.statusBarVisible};
    case M::viewToolTip:
        return {true, s.toolTipsOn};
    case M::viewSortName:
    case M::viewSortDay:
    case M::viewSortTime:
    case M::viewSortFile:
    case M::viewSortDelete:
        return {true, sortItemFor(s.sortColumn) == item};
    case M::alarmEnable:
        return {true, s.alarmSwitchOn};
    case M::alarmEdit:
    case M::alarmDelete:
    case M::alarmPreview:
    case M::popupEdit:
    case M::popupDelete:
    case M::popupPreview:
        return {current, false};
    case M::helpReadme:
        return {s.readmeExists, false};
    case M::fileStartup:
        return {true, s.startsWithWindows};
    default:
        return {true, false};
    }
}

bool isCommandAvailable(MenuItem item, const MainWindowState& state) {
    for (std::optional<MenuItem> i = item; i; i = parentMenu(*i)) {
        if (!menuItemState(*i, state).enabled) return false;
    }
    return true;
}

bool shortcutAllowed(MenuItem item, const MainWindowState& state) {
    return hasShortcut(item) && isCommandAvailable(item, state);
}

std::optional<MenuItem> sortItemFor(Column column) { return kSortItems[static_cast<std::size_t>(column)]; }

}  // namespace kolvi
