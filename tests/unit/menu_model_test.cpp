#include "mainwindow/menu_model.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

namespace kolvi {
namespace {

using M = MenuItem;

MainWindowState state(bool fileOpen, bool currentRow, bool readme = false) {
    MainWindowState s;
    s.fileOpen = fileOpen;
    s.hasCurrentRow = currentRow;
    s.readmeExists = readme;
    return s;
}

TEST(MenuModel, EnablingFollowsTheFileAndTheCurrentRow) {
    const struct {
        const char* what;
        MainWindowState state;
        std::vector<M> enabled, disabled;
    } cases[] = {
        {"no file", state(false, false),
         {M::file, M::fileNew, M::fileOpen, M::fileExit, M::view, M::viewStatus, M::help, M::helpAbout, M::popupAdd,
          M::trayPopupSize, M::trayPopupExit},
         {M::fileSaveAs, M::fileClose, M::viewSort, M::alarm, M::helpReadme}},
        {"file, no current row", state(true, false),
         {M::fileSaveAs, M::fileClose, M::viewSort, M::viewSortName, M::alarm, M::alarmEnable, M::alarmAdd},
         {M::alarmEdit, M::alarmDelete, M::alarmPreview, M::popupEdit, M::popupDelete, M::popupPreview}},
        {"file and current row", state(true, true),
         {M::alarmEdit, M::alarmDelete, M::alarmPreview, M::popupEdit, M::popupDelete, M::popupPreview}, {}},
        {"a stale current row without a file", state(false, true), {}, {M::alarmEdit, M::alarmDelete, M::popupEdit}},
        {"readme present", state(true, false, true), {M::helpReadme}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (M item : c.enabled) EXPECT_TRUE(menuItemState(item, c.state).enabled) << static_cast<int>(item);
        for (M item : c.disabled) EXPECT_FALSE(menuItemState(item, c.state).enabled) << static_cast<int>(item);
    }
}

// Sort keys 1-5 check one sort item each; the number column (0) checks none.
TEST(MenuModel, OneSortItemIsCheckedForKeysOneToFive) {
    const std::vector<M> items{M::viewSortName, M::viewSortDay, M::viewSortTime, M::viewSortFile, M::viewSortDelete};
    for (int key = -1; key <= 6; ++key) {
        MainWindowState s = state(true, false);
        s.sortKey = key;
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(menuItemState(items[i], s).checked, key == static_cast<int>(i) + 1) << "key " << key;
            EXPECT_EQ(sortKeyForItem(items[i]), static_cast<int>(i) + 1);
        }
    }
    EXPECT_EQ(sortKeyForItem(M::viewSort), std::nullopt);
}

// A command runs only when its item and every menu above it are enabled; a
// shortcut only for the items that have one.
TEST(MenuModel, CommandsAndShortcutsNeedEveryMenuAboveThemEnabled) {
    const std::tuple<M, MainWindowState, bool, bool> cases[] = {
        // item, state, command available, shortcut allowed
        {M::fileNew, state(false, false), true, true},
        {M::helpAbout, state(false, false), true, false},
        {M::viewSortTime, state(false, false), false, false},  // the item is enabled, its sub-menu is not
        {M::viewSortTime, state(true, false), true, false},
        {M::alarmEnable, state(false, false), false, false},  // the alarm menu is disabled
        {M::alarmEnable, state(true, false), true, true},
        {M::alarmDelete, state(true, false), false, false},  // the item is disabled
        {M::alarmDelete, state(true, true), true, true},
        {M::fileSaveAs, state(true, true), true, false},  // no shortcut
        {M::popupDelete, state(true, true), true, false},
    };
    for (const auto& [item, s, available, shortcut] : cases) {
        SCOPED_TRACE(testing::Message() << "item " << static_cast<int>(item) << " file=" << s.fileOpen);
        EXPECT_EQ(isCommandAvailable(item, s), available);
        EXPECT_EQ(shortcutAllowed(item, s), shortcut);
    }
}

}  // namespace
}  // namespace kolvi
