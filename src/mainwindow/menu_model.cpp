#include "mainwindow/menu_model.h"

#include <array>
#include <cstddef>

#include "app/resource.h"
#include "mainwindow/main_window_texts.h"

namespace kolvi {
namespace {

// Virtual-key codes of the shortcuts (the values Windows defines).
constexpr int kKeyN = 0x4E;
constexpr int kKeyO = 0x4F;
constexpr int kKeyP = 0x50;
constexpr int kKeyF5 = 0x74;
constexpr int kKeyDelete = 0x2E;
constexpr int kKeyInsert = 0x2D;

struct ItemInfo {
    MenuItem item;
    std::optional<MenuItem> parent;
    std::string_view caption;
    int commandId = 0;
    std::optional<Shortcut> shortcut;
};

constexpr ItemInfo entry(MenuItem item, std::optional<MenuItem> parent, std::string_view caption, int id = 0,
                         std::optional<Shortcut> shortcut = std::nullopt) {
    return ItemInfo{item, parent, caption, id, shortcut};
}

using M = MenuItem;
constexpr std::optional<MenuItem> kTop = std::nullopt;

// Depth first, in menu order; the enum has the same order.
constexpr std::array kItems{
    entry(M::file, kTop, kCaptionFile),
    entry(M::fileNew, M::file, kCaptionFileNew, IDM_FILE_NEW, Shortcut{kShortcutFileNew, kKeyN, true}),
    entry(M::fileOpen, M::file, kCaptionFileOpen, IDM_FILE_OPEN, Shortcut{kShortcutFileOpen, kKeyO, true}),
    entry(M::fileSaveAs, M::file, kCaptionFileSaveAs, IDM_FILE_SAVEAS),
    entry(M::fileClose, M::file, kCaptionFileClose, IDM_FILE_CLOSE),
    entry(M::fileBar1, M::file, kCaptionSeparator),
    entry(M::fileDateTime, M::file, kCaptionFileDateTime, IDM_FILE_DATETIME),
    entry(M::fileVolume, M::file, kCaptionFileVolume, IDM_FILE_VOLUME),
    entry(M::fileBar2, M::file, kCaptionSeparator),
    entry(M::fileExit, M::file, kCaptionFileExit, IDM_FILE_EXIT),

    entry(M::view, kTop, kCaptionView),
    entry(M::viewStatus, M::view, kCaptionViewStatus, IDM_VIEW_STATUS),
    entry(M::viewToolTip, M::view, kCaptionViewToolTip, IDM_VIEW_TOOLTIP),
    entry(M::viewBar, M::view, kCaptionSeparator),
    entry(M::viewSort, M::view, kCaptionViewSort),
    entry(M::viewSortName, M::viewSort, kCaptionViewSortName, IDM_VIEW_SORT_NAME),
    entry(M::viewSortDay, M::viewSort, kCaptionViewSortDay, IDM_VIEW_SORT_DAY),
    entry(M::viewSortTime, M::viewSort, kCaptionViewSortTime, IDM_VIEW_SORT_TIME),
    entry(M::viewSortFile, M::viewSort, kCaptionViewSortFile, IDM_VIEW_SORT_FILE),
    entry(M::viewSortDelete, M::viewSort, kCaptionViewSortDelete, IDM_VIEW_SORT_DELETE),

    entry(M::alarm, kTop, kCaptionAlarm),
    entry(M::alarmEnable, M::alarm, kCaptionAlarmEnable, IDM_ALARM_ENABLE,
             Shortcut{kShortcutAlarmEnable, kKeyF5, false}),
    entry(M::alarmBar1, M::alarm, kCaptionSeparator),
    entry(M::alarmEdit, M::alarm, kCaptionAlarmEdit, IDM_ALARM_EDIT),
    entry(M::alarmDelete, M::alarm, kCaptionAlarmDelete, IDM_ALARM_DELETE,
             Shortcut{kShortcutAlarmDelete, kKeyDelete, false}),
    entry(M::alarmBar2, M::alarm, kCaptionSeparator),
    entry(M::alarmAdd, M::alarm, kCaptionAlarmAdd, IDM_ALARM_ADD, Shortcut{kShortcutAlarmAdd, kKeyInsert, true}),
    entry(M::alarmBar3, M::alarm, kCaptionSeparator),
    entry(M::alarmPreview, M::alarm, kCaptionAlarmPreview, IDM_ALARM_PREVIEW,
             Shortcut{kShortcutAlarmPreview, kKeyP, true}),

    entry(M::help, kTop, kCaptionHelp),
    entry(M::helpReadme, M::help, kCaptionHelpReadme, IDM_HELP_README),
    entry(M::helpBar, M::help, kCaptionSeparator),
    entry(M::helpAbout, M::help, kCaptionHelpAbout, IDM_HELP_ABOUT),

    entry(M::popup, kTop, kCaptionPopup),
    entry(M::popupEdit, M::popup, kCaptionPopupEdit, IDM_POPUP_EDIT),
    entry(M::popupDelete, M::popup, kCaptionPopupDelete, IDM_POPUP_DELETE),
    entry(M::popupBar1, M::popup, kCaptionSeparator),
    entry(M::popupAdd, M::popup, kCaptionPopupAdd, IDM_POPUP_ADD),
    entry(M::popupBar2, M::popup, kCaptionSeparator),
    entry(M::popupPreview, M::popup, kCaptionPopupPreview, IDM_POPUP_PREVIEW),

    entry(M::trayPopup, kTop, kCaptionTrayPopup),
    entry(M::trayPopupSize, M::trayPopup, kCaptionTrayPopupSize, IDM_TRAY_SIZE),
    entry(M::trayPopupBar1, M::trayPopup, kCaptionSeparator),
    entry(M::trayPopupExit, M::trayPopup, kCaptionTrayPopupExit, IDM_TRAY_EXIT),
    entry(M::trayPopupBar2, M::trayPopup, kCaptionSeparator),
    entry(M::trayPopupCancel, M::trayPopup, kCaptionTrayPopupCancel, IDM_TRAY_CANCEL),
};

constexpr bool tableMatchesEnum() {
    for (std::size_t i = 0; i < kItems.size(); ++i) {
        if (static_cast<std::size_t>(kItems[i].item) != i) return false;
    }
    return kItems.back().item == M::trayPopupCancel;
}
static_assert(tableMatchesEnum(), "the item table must list every item in enum order");

constexpr std::array<MenuItem, kItems.size()> makeAllItems() {
    std::array<MenuItem, kItems.size()> items{};
    for (std::size_t i = 0; i < kItems.size(); ++i) items[i] = kItems[i].item;
    return items;
}
constexpr std::array kAllItems = makeAllItems();

const ItemInfo& info(MenuItem item) { return kItems[static_cast<std::size_t>(item)]; }

// The sort items by key 1-5, in key order.
constexpr std::array kSortItems{M::viewSortName, M::viewSortDay, M::viewSortTime, M::viewSortFile, M::viewSortDelete};

}  // namespace

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
        return {true, sortItemForKey(s.sortKey) == item};
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
    default:
        return {true, false};
    }
}

std::span<const MenuItem> allMenuItems() { return kAllItems; }

std::optional<MenuItem> parentMenu(MenuItem item) { return info(item).parent; }

std::vector<MenuItem> menuChildren(MenuItem menu) {
    std::vector<MenuItem> children;
    for (const ItemInfo& i : kItems) {
        if (i.parent == menu) children.push_back(i.item);
    }
    return children;
}

bool isSeparator(MenuItem item) { return info(item).caption == kCaptionSeparator; }

bool isMenu(MenuItem item) {
    for (const ItemInfo& i : kItems) {
        if (i.parent == item) return true;
    }
    return false;
}

std::string_view menuCaption(MenuItem item) { return info(item).caption; }

std::optional<Shortcut> menuShortcut(MenuItem item) { return info(item).shortcut; }

std::string menuLabel(MenuItem item) {
    std::string label(menuCaption(item));
    if (const auto shortcut = menuShortcut(item)) {
        label += '\t';
        label += shortcut->text;
    }
    return label;
}

int commandId(MenuItem item) { return info(item).commandId; }

std::optional<MenuItem> menuItemForCommand(int id) {
    if (id == 0) return std::nullopt;
    for (const ItemInfo& i : kItems) {
        if (i.commandId == id) return i.item;
    }
    return std::nullopt;
}

bool isCommandAvailable(MenuItem item, const MainWindowState& state) {
    for (std::optional<MenuItem> i = item; i; i = parentMenu(*i)) {
        if (!menuItemState(*i, state).enabled) return false;
    }
    return true;
}

bool shortcutAllowed(MenuItem item, const MainWindowState& state) {
    return menuShortcut(item).has_value() && isCommandAvailable(item, state);
}

std::optional<MenuItem> sortItemForKey(int sortKey) {
    if (sortKey < 1 || sortKey > static_cast<int>(kSortItems.size())) return std::nullopt;
    return kSortItems[static_cast<std::size_t>(sortKey - 1)];
}

std::optional<int> sortColumnForItem(MenuItem item) {
    for (std::size_t i = 0; i < kSortItems.size(); ++i) {
        // Sort key i + 1 is column header i + 2 (header 1 is the number column).
        if (kSortItems[i] == item) return static_cast<int>(i) + 2;
    }
    return std::nullopt;
}

}  // namespace kolvi
