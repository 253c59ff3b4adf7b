#include "mainwindow/main_window_model.h"

#include <gtest/gtest.h>

#include <tuple>

#include "mainwindow/list_interaction.h"
#include "mainwindow/menu_model.h"
#include "mainwindow/tray_icon_state.h"
#include "platform/keys.h"
#include "support/fakes.h"

namespace kolvi {
namespace {

using M = MenuItem;
using S = WindowState;

const AlarmSwitchDecision kRunning{true, std::nullopt, SystemColor::window};
const AlarmSwitchDecision kStopped{false, "アラーム停止中", SystemColor::buttonFace};

// The switch on, the status bar shown, tips off.
MainWindowState state(bool fileOpen, bool currentRow, int sortKey = 3, bool readme = false) {
    return {fileOpen, currentRow, sortKey, true, true, false, readme};
}

// The editor and its preview each pause the check; it comes back only when
// both have ended, and only if the master switch is on by then.
TEST(MainWindowModel, PausesNestAndTheSwitchIsHonouredWhenTheyEnd) {
    MainWindowModel model;
    EXPECT_EQ(model.alarmSwitch(), kRunning);
    EXPECT_EQ(model.pause(), kStopped);   // the editor
    EXPECT_EQ(model.pause(), kStopped);   // its preview
    EXPECT_EQ(model.resume(), kStopped);  // the preview ends, the editor is still open
    EXPECT_EQ(model.resume(), kRunning);
    EXPECT_EQ(model.resume(), kRunning);  // one resume too many is no credit for later
    EXPECT_EQ(model.pause(), kStopped);
    EXPECT_EQ(model.toggleAlarmSwitch(), kStopped);  // switched off while paused
    EXPECT_EQ(model.resume(), kStopped);
    model.pause();
    EXPECT_EQ(model.toggleAlarmSwitch(), kStopped);  // on again, still paused
    EXPECT_EQ(model.resume(), kRunning);
    EXPECT_EQ(model.toggleAlarmSwitch(), kStopped);
    // A period of 0 ms would never tick: the window says it is stopped.
    EXPECT_EQ(MainWindowModel(0).alarmSwitch(), kStopped);
}

// The exit is posted and the window unloads once, however many ways ask; the
// volume control falls back to its older name; a header click on the number
// column (subitem 0) or outside the columns sorts nothing.
TEST(MainWindowModel, ExitVolumeControlAndHeaderClicks) {
    MainWindowModel model;
    EXPECT_EQ((std::array{model.requestExit(), model.requestExit(), model.beginUnload(), model.beginUnload()}),
              (std::array{true, false, true, false}));
    test::RecordingDesktop desktop;
    startVolumeControl(desktop);
    desktop.startSucceeds = false;
    startVolumeControl(desktop);
    EXPECT_EQ(desktop.started, (std::vector<std::string>{"sndvol.exe", "sndvol.exe", "sndvol32.exe"}));
    const std::optional<int> expected[] = {std::nullopt, std::nullopt, 1, 2, 3, 4, 5, std::nullopt};
    for (int subitem = -1; subitem <= 6; ++subitem) EXPECT_EQ(sortKeyForHeaderClick(subitem), expected[subitem + 1]);
}

// The menu key, or Shift+F10 alone, opens it. From the keyboard the menu opens
// at the middle of the current row's left edge, kept inside the list, or at
// its corner; from the mouse at the pointer; with no file, not at all.
TEST(ListInteraction, ContextMenu) {
    const std::tuple<unsigned, bool, bool, bool, bool> keys[] = {
        // key, shift, ctrl, alt, opens
        {vk::kApps, false, false, false, true}, {vk::kF10, true, false, false, true}, {vk::kF10, false, false, false, false},
        {vk::kF10, true, true, false, false},   {vk::kF10, true, false, true, false}, {vk::kF10 - 1, true, false, false, false},
    };
    for (const auto& [key, shift, ctrl, alt, opens] : keys) {
        EXPECT_EQ(opensListPopupFromKeyboard(key, shift, ctrl, alt), opens) << key << shift << ctrl << alt;
    }
    const Rect row{0, 40, 300, 57};  // 17 pixels high
    const Size list{400, 200};
    constexpr PopupAnchor point = PopupAnchor::atPoint, pointer = PopupAnchor::atPointer;
    const std::tuple<ListPopupRequest, std::optional<ListPopupPlan>> cases[] = {
        {{false, true, true, row, list}, std::nullopt},
        {{true, true, false, std::nullopt, list}, ListPopupPlan{M::popupEdit, pointer, {}}},
        {{true, false, false, std::nullopt, list}, ListPopupPlan{M::popupAdd, pointer, {}}},
        {{true, true, true, row, list}, ListPopupPlan{M::popupEdit, point, {0, 48}}},
        {{true, false, true, std::nullopt, list}, ListPopupPlan{M::popupAdd, point, {0, 0}}},
        {{true, true, true, Rect{-4, -30, 300, -13}, list}, ListPopupPlan{M::popupEdit, point, {0, 0}}},  // above
        {{true, true, true, Rect{0, 250, 300, 267}, list}, ListPopupPlan{M::popupEdit, point, {0, 199}}},  // below
    };
    for (const auto& [request, plan] : cases) EXPECT_EQ(planListPopup(request), plan);
}

// The rules, not every item: what acts on a file needs one, what acts on the
// current row needs one (which counts only while a file is open), the readme
// item needs the file. A command runs only when its item and every menu above
// it are enabled (a sort item with no file: the item is, its sub-menu is
// not); a shortcut only for the items that have one. Sort keys 1-5 check one
// sort item each; the number column (0) checks none.
TEST(MenuModel, EnablingCommandsShortcutsAndSortChecks) {
    const MainWindowState noFile = state(false, false), staleRow = state(false, true), file = state(true, false),
                          row = state(true, true), readme = state(false, false, 3, true);
    const std::tuple<M, MainWindowState, bool, bool, bool> cases[] = {
        // item, state, enabled, command available, shortcut allowed
        {M::fileNew, noFile, true, true, true},       {M::helpAbout, noFile, true, true, false},
        {M::fileSaveAs, noFile, false, false, false}, {M::fileSaveAs, row, true, true, false},
        {M::viewSortTime, noFile, true, false, false}, {M::viewSortTime, file, true, true, false},
        {M::alarmEnable, noFile, true, false, false}, {M::alarmEnable, file, true, true, true},
        {M::alarmDelete, file, false, false, false},  {M::alarmDelete, staleRow, false, false, false},
        {M::alarmDelete, row, true, true, true},      {M::popupDelete, row, true, true, false},
        {M::popupAdd, noFile, true, true, false},     {M::trayPopupExit, noFile, true, true, false},
        {M::helpReadme, file, false, false, false},   {M::helpReadme, readme, true, true, false},
    };
    for (const auto& [item, s, enabled, available, shortcut] : cases) {
        EXPECT_EQ(std::tuple(menuItemState(item, s).enabled, isCommandAvailable(item, s), shortcutAllowed(item, s)),
                  std::tuple(enabled, available, shortcut)) << "item " << static_cast<int>(item) << " file=" << s.fileOpen;
    }
    const M items[] = {M::viewSortName, M::viewSortDay, M::viewSortTime, M::viewSortFile, M::viewSortDelete};
    for (int key = -1; key <= 6; ++key) {
        for (int i = 0; i < 5; ++i) EXPECT_EQ(menuItemState(items[i], state(true, false, key)).checked, key == i + 1) << key;
    }
}

TEST(TrayTip, IsCutToTheFieldWithoutSplittingACharacterAndSentOnlyWhenItChanges) {
    const std::string title = "Kolviアラーム", pair = "\xF0\x9F\x94\x94";  // 9 UTF-16 units; U+1F514, a surrogate pair
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {title, 10, title},          {title, 9, "Kolviアラー"},  {"ab" + pair, 4, "ab"},  {"ab" + pair, 5, "ab" + pair},
        {title + "\r\nx", 11, title},  // no lone CR at the end
        {title + "\r\nx", 12, title},  // nor an empty second line
        {title, 0, ""},              {"a\xE3\x82", 3, "a\xE3\x82"},  // a truncated sequence is one unit
    };
    for (const auto& [tip, field, fitted] : cases) EXPECT_EQ(fitTrayTip(tip, field), fitted) << tip << field;
    EXPECT_EQ(fitTrayTip(trayTipText("D:\\x\\" + std::string(300, 'n') + ".alm")),  // 127 units of text
              title + "\r\n" + std::string(127 - 11, 'n'));
    TrayIconState tray;
    EXPECT_EQ(tray.updateTip(""), std::nullopt);
    EXPECT_EQ(tray.updateTip("wake.alm"), "Kolviアラーム\r\nwake.alm");
    EXPECT_EQ(tray.updateTip("D:\\x\\wake.alm"), std::nullopt);  // the name part alone counts
    EXPECT_EQ(tray.updateTip(""), "Kolviアラーム");
    // Newer notify-icon versions put the icon id in the high word of a callback.
    EXPECT_EQ(trayCallbackAction(0x0001'0000u | trayMouse::kLeftDoubleClick), TrayCallbackAction::restore);
    EXPECT_EQ(trayCallbackAction(0x0001'0000u | trayMouse::kRightButtonUp), TrayCallbackAction::openMenu);
}

// Restored, the window returns to its state before it went into the tray;
// started maximised straight into the tray, it comes back maximised; a
// minimised state is never one to return to.
TEST(TrayIconState, MinimiseHidesIntoTheTrayAndRestoreReturnsToTheStateBefore) {
    TrayIconState tray(0);
    tray.onResize(S::maximized);
    EXPECT_EQ(tray.onResize(S::minimized), (TrayIconState::ResizeActions{true, true, false}));  // no period: no timer
    EXPECT_EQ(tray.restore(), S::maximized);
    EXPECT_EQ(tray.onResize(S::normal), (TrayIconState::ResizeActions{false, false, false}));
    tray.onResize(S::minimized);
    EXPECT_EQ(tray.restore(), S::normal);
    TrayIconState started(0, S::maximized);
    started.onResize(S::minimized);
    EXPECT_EQ(started.restore(), S::maximized);
    EXPECT_EQ(TrayIconState(0, S::minimized).windowStateTmp(), S::normal);
}

// The refresh timer and the shell's restart re-add the icon only while in the
// tray, and nothing happens on resize once the exit has started.
TEST(TrayIconState, RefreshWhileInTheTrayAndNothingOnceTheExitStarted) {
    TrayIconState tray(30000);
    tray.onResize(S::maximized);
    EXPECT_EQ(tray.onResize(S::minimized), (TrayIconState::ResizeActions{true, true, true}));
    EXPECT_TRUE(tray.inTray() && tray.onRefreshTimer() && tray.onTaskbarCreated());
    tray.restore();
    EXPECT_FALSE(tray.onRefreshTimer() || tray.onTaskbarCreated());
    tray.onResize(S::minimized);
    tray.beginExit();
    EXPECT_FALSE(tray.onRefreshTimer() || tray.onTaskbarCreated());
    EXPECT_EQ(tray.onResize(S::normal), TrayIconState::ResizeActions{});
    EXPECT_EQ(tray.onResize(S::minimized), TrayIconState::ResizeActions{});
    EXPECT_EQ(tray.windowStateTmp(), S::maximized);
}

}  // namespace
}  // namespace kolvi
