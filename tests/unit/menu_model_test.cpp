#include "mainwindow/menu_model.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

namespace kolvi {
namespace {

using M = MenuItem;

MainWindowState noFile() { return {}; }
MainWindowState fileOpen(bool currentRow) {
    MainWindowState s;
    s.fileOpen = true;
    s.hasCurrentRow = currentRow;
    return s;
}

struct EnableCase {
    const char* what;
    MainWindowState state;
    std::vector<M> enabled;
    std::vector<M> disabled;
};

TEST(MenuModel, EnablingFollowsTheFileAndTheCurrentRow) {
    MainWindowState rowWithoutFile;  // a stale current row must not count
    rowWithoutFile.hasCurrentRow = true;
    MainWindowState readme = fileOpen(false);
    readme.readmeExists = true;

    const EnableCase cases[] = {
        {"no file", noFile(),
         {M::file, M::fileNew, M::fileOpen, M::fileExit, M::view, M::viewStatus, M::viewToolTip, M::help,
          M::helpAbout, M::popupAdd, M::trayPopupSize, M::trayPopupExit, M::trayPopupCancel},
         {M::fileSaveAs, M::fileClose, M::viewSort, M::alarm, M::helpReadme}},
        {"file, no current row", fileOpen(false),
         {M::fileSaveAs, M::fileClose, M::viewSort, M::viewSortName, M::alarm, M::alarmEnable, M::alarmAdd,
          M::popupAdd},
         {M::alarmEdit, M::alarmDelete, M::alarmPreview, M::popupEdit, M::popupDelete, M::popupPreview}},
        {"file and current row", fileOpen(true),
         {M::alarmEdit, M::alarmDelete, M::alarmPreview, M::popupEdit, M::popupDelete, M::popupPreview,
          M::alarmAdd, M::popupAdd},
         {}},
        {"current row without a file", rowWithoutFile, {}, {M::alarmEdit, M::alarmDelete, M::popupEdit}},
        {"readme present", readme, {M::helpReadme}, {}},
    };
    for (const EnableCase& c : cases) {
        for (M item : c.enabled) {
            EXPECT_TRUE(menuItemState(item, c.state).enabled) << c.what << ": item " << static_cast<int>(item);
        }
        for (M item : c.disabled) {
            EXPECT_FALSE(menuItemState(item, c.state).enabled) << c.what << ": item " << static_cast<int>(item);
        }
    }
}

TEST(MenuModel, OneSortItemIsCheckedForKeysOneToFive) {
    const std::map<int, std::optional<M>> expected{
        {-1, std::nullopt}, {0, std::nullopt},         {1, M::viewSortName},   {2, M::viewSortDay},
        {3, M::viewSortTime}, {4, M::viewSortFile}, {5, M::viewSortDelete}, {6, std::nullopt},
    };
    for (const auto& [key, item] : expected) {
        MainWindowState s = fileOpen(false);
        s.sortKey = key;
        for (M sortItem : {M::viewSortName, M::viewSortDay, M::viewSortTime, M::viewSortFile, M::viewSortDelete}) {
            EXPECT_EQ(menuItemState(sortItem, s).checked, item == sortItem) << "key " << key;
        }
        if (item) {
            EXPECT_EQ(sortKeyForItem(*item), key);
        }
    }
    EXPECT_EQ(sortKeyForItem(M::viewSort), std::nullopt);
}

TEST(MenuModel, ShortcutsActOnlyWhereTheirItemAndMenusAreEnabled) {
    const std::tuple<M, MainWindowState, bool> cases[] = {
        {M::fileNew, noFile(), true},
        {M::alarmEnable, noFile(), false},  // the alarm menu is disabled
        {M::alarmEnable, fileOpen(false), true},
        {M::alarmDelete, fileOpen(false), false},  // the item is disabled
        {M::alarmDelete, fileOpen(true), true},
        {M::fileSaveAs, fileOpen(true), false},  // enabled, but has no shortcut
        {M::popupDelete, fileOpen(true), false},
    };
    for (const auto& [item, state, allowed] : cases) {
        EXPECT_EQ(shortcutAllowed(item, state), allowed) << "item " << static_cast<int>(item) << " file=" << state.fileOpen
                                                         << " row=" << state.hasCurrentRow;
    }
}

TEST(MenuModel, CommandsNeedEveryMenuAboveThemEnabled) {
    // The sort items themselves are never disabled; their sub-menu is.
    EXPECT_TRUE(menuItemState(M::viewSortTime, noFile()).enabled);
    EXPECT_FALSE(isCommandAvailable(M::viewSortTime, noFile()));
    EXPECT_TRUE(isCommandAvailable(M::viewSortTime, fileOpen(false)));
    EXPECT_FALSE(isCommandAvailable(M::alarmAdd, noFile()));
    EXPECT_TRUE(isCommandAvailable(M::helpAbout, noFile()));
}

}  // namespace
}  // namespace kolvi
