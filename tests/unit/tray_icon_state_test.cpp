#include "mainwindow/tray_icon_state.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvi {
namespace {

using Actions = TrayIconState::ResizeActions;

TEST(TrayTip, CutToTheFieldWithoutSplittingACharacter) {
    const std::string title = "Kolviアラーム";  // 9 UTF-16 units
    const std::string pair = "\xF0\x9F\x94\x94";   // U+1F514, a surrogate pair
    struct Case {
        const char* what;
        std::string tip;
        std::size_t field;
        std::string fitted;
    };
    const Case cases[] = {
        {"fits with its NUL", title, 10, title},
        {"one unit short", title, 9, "Kolviアラー"},
        {"a pair does not fit in one unit", "ab" + pair, 4, "ab"},
        {"a pair fits in two", "ab" + pair, 5, "ab" + pair},
        {"no lone CR at the end", title + "\r\nx", 11, title},
        {"no empty second line", title + "\r\nx", 12, title},
        {"field of none", title, 0, ""},
        {"a truncated sequence counts as one unit", "a\xE3\x82", 3, "a\xE3\x82"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitTrayTip(c.tip, c.field), c.fitted) << c.what;
    }
    // The real field: 127 units of text.
    const std::string longName(300, 'n');
    const std::string fitted = fitTrayTip(trayTipText(longName + ".alm"));
    EXPECT_EQ(fitted, title + "\r\n" + std::string(127 - 11, 'n'));
    std::string pairs;
    for (int i = 0; i < 100; ++i) pairs += pair;
    EXPECT_EQ(fitTrayTip(pairs).size(), 63u * 4u);  // 126 units; the 127th would split a pair
}

TEST(TrayCallback, MouseMessagesDecideTheAction) {
    EXPECT_EQ(trayCallbackAction(512), TrayCallbackAction::updateTip);
    EXPECT_EQ(trayCallbackAction(515), TrayCallbackAction::restore);
    EXPECT_EQ(trayCallbackAction(517), TrayCallbackAction::openMenu);
    for (const std::uint32_t ignored : {513u, 514u, 516u, 518u}) {
        EXPECT_EQ(trayCallbackAction(ignored), TrayCallbackAction::ignore) << ignored;
    }
    // Newer notify-icon versions put the icon id in the high word.
    EXPECT_EQ(trayCallbackAction(0x0001'0000u | 515u), TrayCallbackAction::restore);
}

TEST(TrayIconState, MinimiseHidesIntoTheTrayAndRefreshesOnlyWithAPeriod) {
    TrayIconState withoutRefresh(0);
    EXPECT_EQ(withoutRefresh.onResize(WindowState::minimized), (Actions{true, true, false}));
    EXPECT_TRUE(withoutRefresh.inTray());

    TrayIconState withRefresh(30000);
    EXPECT_EQ(withRefresh.onResize(WindowState::minimized), (Actions{true, true, true}));
    EXPECT_TRUE(withRefresh.onRefreshTimer());
    EXPECT_TRUE(withRefresh.onTaskbarCreated());

    // Back on screen: the state is recorded and the refresh stops; the icon
    // is not touched by the resize itself.
    EXPECT_EQ(withRefresh.restore(), WindowState::normal);
    EXPECT_EQ(withRefresh.onResize(WindowState::normal), (Actions{false, false, false}));
    EXPECT_FALSE(withRefresh.onRefreshTimer());
    EXPECT_FALSE(withRefresh.onTaskbarCreated());
}

TEST(TrayIconState, RestoreReturnsToTheStateBeforeMinimising) {
    TrayIconState tray(0);
    tray.onResize(WindowState::maximized);
    tray.onResize(WindowState::minimized);
    EXPECT_EQ(tray.restore(), WindowState::maximized);
    tray.onResize(WindowState::maximized);
    tray.onResize(WindowState::normal);
    tray.onResize(WindowState::minimized);
    EXPECT_EQ(tray.restore(), WindowState::normal);

    // Started maximised straight into the tray: it comes back maximised.
    TrayIconState started(0, WindowState::maximized);
    started.onResize(WindowState::minimized);
    EXPECT_EQ(started.restore(), WindowState::maximized);
    // A minimised state is never a state to return to.
    EXPECT_EQ(TrayIconState(0, WindowState::minimized).windowStateTmp(), WindowState::normal);
}

TEST(TrayIconState, NothingHappensOnResizeOnceTheExitStarted) {
    TrayIconState tray(30000);
    tray.onResize(WindowState::maximized);
    tray.onResize(WindowState::minimized);
    tray.beginExit();
    EXPECT_TRUE(tray.exitStarted());
    EXPECT_EQ(tray.onResize(WindowState::normal), Actions{});
    EXPECT_EQ(tray.onResize(WindowState::minimized), Actions{});
    EXPECT_EQ(tray.windowStateTmp(), WindowState::maximized);
    EXPECT_FALSE(tray.onRefreshTimer());
    EXPECT_FALSE(tray.onTaskbarCreated());
}

TEST(TrayIconState, TipIsSentOnlyWhenItChanges) {
    TrayIconState tray;
    EXPECT_EQ(tray.tip(), "Kolviアラーム");
    EXPECT_EQ(tray.updateTip(""), std::nullopt);
    EXPECT_EQ(tray.updateTip("wake.alm"), "Kolviアラーム\r\nwake.alm");
    EXPECT_EQ(tray.updateTip("wake.alm"), std::nullopt);
    // Another directory, same name: the tip shows the name only.
    EXPECT_EQ(tray.updateTip("D:\\x\\wake.alm"), std::nullopt);
    EXPECT_EQ(tray.updateTip(""), "Kolviアラーム");
    EXPECT_EQ(tray.tip(), "Kolviアラーム");
}

}  // namespace
}  // namespace kolvi
