#include "mainwindow/tray_icon_state.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvi {
namespace {

using Actions = TrayIconState::ResizeActions;
using S = WindowState;

TEST(TrayTip, CutToTheFieldWithoutSplittingACharacter) {
    const std::string title = "Kolviアラーム";  // 9 UTF-16 units
    const std::string pair = "\xF0\x9F\x94\x94";   // U+1F514, a surrogate pair
    const std::tuple<const char*, std::string, std::size_t, std::string> cases[] = {
        {"fits with its NUL", title, 10, title},
        {"one unit short", title, 9, "Kolviアラー"},
        {"a pair does not fit in one unit", "ab" + pair, 4, "ab"},
        {"a pair fits in two", "ab" + pair, 5, "ab" + pair},
        {"no lone CR at the end", title + "\r\nx", 11, title},
        {"no empty second line", title + "\r\nx", 12, title},
        {"field of none", title, 0, ""},
        {"a truncated sequence counts as one unit", "a\xE3\x82", 3, "a\xE3\x82"},
    };
    for (const auto& [what, tip, field, fitted] : cases) EXPECT_EQ(fitTrayTip(tip, field), fitted) << what;
    // The real field: 127 units of text.
    EXPECT_EQ(fitTrayTip(trayTipText("D:\\x\\" + std::string(300, 'n') + ".alm")),
              title + "\r\n" + std::string(127 - 11, 'n'));
}

TEST(TrayTip, IsSentOnlyWhenItChanges) {
    TrayIconState tray;
    EXPECT_EQ(tray.updateTip(""), std::nullopt);
    EXPECT_EQ(tray.updateTip("wake.alm"), "Kolviアラーム\r\nwake.alm");
    EXPECT_EQ(tray.updateTip("D:\\x\\wake.alm"), std::nullopt);  // the name part alone counts
    EXPECT_EQ(tray.updateTip(""), "Kolviアラーム");
    EXPECT_EQ(tray.tip(), "Kolviアラーム");
}

// Newer notify-icon versions put the icon id in the high word.
TEST(TrayCallback, OnlyTheLowWordCounts) {
    EXPECT_EQ(trayCallbackAction(0x0001'0000u | trayMouse::kLeftDoubleClick), TrayCallbackAction::restore);
    EXPECT_EQ(trayCallbackAction(0x0001'0000u | trayMouse::kRightButtonUp), TrayCallbackAction::openMenu);
}

TEST(TrayIconState, MinimiseHidesIntoTheTrayAndRestoreReturnsToTheStateBefore) {
    TrayIconState tray(0);
    tray.onResize(S::maximized);
    EXPECT_EQ(tray.onResize(S::minimized), (Actions{true, true, false}));  // no refresh period: no timer
    EXPECT_TRUE(tray.inTray());
    EXPECT_EQ(tray.restore(), S::maximized);
    EXPECT_EQ(tray.onResize(S::normal), (Actions{false, false, false}));
    tray.onResize(S::minimized);
    EXPECT_EQ(tray.restore(), S::normal);

    // Started maximised straight into the tray, it comes back maximised; a
    // minimised state is never one to return to.
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
    EXPECT_EQ(tray.onResize(S::minimized), (Actions{true, true, true}));
    EXPECT_TRUE(tray.onRefreshTimer() && tray.onTaskbarCreated());
    tray.restore();
    EXPECT_FALSE(tray.onRefreshTimer() || tray.onTaskbarCreated());
    tray.onResize(S::minimized);
    tray.beginExit();
    EXPECT_FALSE(tray.onRefreshTimer() || tray.onTaskbarCreated());
    EXPECT_EQ(tray.onResize(S::normal), Actions{});
    EXPECT_EQ(tray.onResize(S::minimized), Actions{});
    EXPECT_EQ(tray.windowStateTmp(), S::maximized);
}

}  // namespace
}  // namespace kolvi
