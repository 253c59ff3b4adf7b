// The main window's decisions: the switch and the pauses, menus, the list's
// context menu, the tray, the window's settings and geometry, the start.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "mainwindow/list_interaction.h"
#include "mainwindow/main_window_model.h"
#include "mainwindow/menu_model.h"
#include "mainwindow/tray_icon_state.h"
#include "mainwindow/window_geometry.h"
#include "mainwindow/window_settings.h"
#include "platform/keys.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

using M = MenuItem;
using S = WindowState;
using C = Column;
using O = SortOrder;

const AlarmSwitchDecision kRunning{true, std::nullopt, SystemColor::window};
const AlarmSwitchDecision kStopped{false, "アラーム停止中", SystemColor::buttonFace};

// The switch on, the status bar shown, tips off.
MainWindowState state(bool fileOpen, bool currentRow, Column sortColumn = Column::time, bool readme = false) {
    return {fileOpen, currentRow, sortColumn, true, true, false, readme};
}

// The editor and its preview each pause the check; it comes back only when
// both have ended, and only if the master switch is on by then. Steps: P
// pause, R resume, T the switch; + the check runs after the step, - it does not.
TEST(MainWindowModel, PausesNestAndTheSwitchIsHonouredWhenTheyEnd) {
    MainWindowModel model;
    EXPECT_EQ(model.alarmSwitch(), kRunning);
    std::string runs;
    for (const char step : std::string("PPRRR" "PTR" "PTRT")) {
        const AlarmSwitchDecision now =
            step == 'P' ? model.pause() : step == 'R' ? model.resume() : model.toggleAlarmSwitch();
        runs += now == kRunning ? '+' : now == kStopped ? '-' : '?';
    }
    // One resume too many is no credit for later; switched off while paused,
    // a resume leaves it off; switched on while paused, it runs once resumed.
    EXPECT_EQ(runs, "---++" "---" "--+-");
    EXPECT_EQ(MainWindowModel(0).alarmSwitch(), kStopped);  // a period of 0 ms would never tick
}

// The volume control falls back to its older name.
TEST(VolumeControl, FallsBackToItsOlderName) {
    test::RecordingDesktop desktop;
    startVolumeControl(desktop);
    desktop.startSucceeds = false;
    startVolumeControl(desktop);
    EXPECT_EQ(desktop.started, (std::vector<std::string>{"sndvol.exe", "sndvol.exe", "sndvol32.exe"}));
}

// The menu key, or Shift+F10 alone, opens it. From the keyboard the menu opens
// at the middle of the current row's left edge, kept inside the list, or at
// its corner; from the mouse at the pointer; with no file, not at all.
TEST(ListInteraction, ContextMenu) {
    const std::tuple<unsigned, bool, bool, bool, bool> keys[] = {
        // key, shift, ctrl, alt, opens
        {vk::kApps, false, false, false, true}, {vk::kF10, true, false, false, true},
        {vk::kF10, false, false, false, false}, {vk::kF10, true, true, false, false},
        {vk::kF10, true, false, true, false},   {vk::kF10 - 1, true, false, false, false},
    };
    for (const auto& [key, s, c, a, opens] : keys) EXPECT_EQ(opensListPopupFromKeyboard(key, s, c, a), opens) << key;
    const Rect row{0, 40, 300, 57};  // 17 pixels high
    const Size list{400, 200};
    constexpr PopupAnchor point = PopupAnchor::atPoint, pointer = PopupAnchor::atPointer;
    const std::tuple<ListPopupRequest, std::optional<ListPopupPlan>> cases[] = {
        {{false, true, true, row, list}, std::nullopt},
        {{true, true, false, std::nullopt, list}, ListPopupPlan{M::popupEdit, pointer, {}}},
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
// not); a shortcut only for the items that have one. (The window tests
// check the sort items.)
TEST(MenuModel, EnablingCommandsAndShortcuts) {
    const MainWindowState noFile = state(false, false), staleRow = state(false, true), file = state(true, false),
                          row = state(true, true), readme = state(false, false, Column::time, true);
    const std::tuple<M, MainWindowState, bool, bool, bool> cases[] = {
        // item, state, enabled, command available, shortcut allowed
        {M::fileNew, noFile, true, true, true},       {M::helpAbout, noFile, true, true, false},
        {M::fileSaveAs, noFile, false, false, false}, {M::fileSaveAs, row, true, true, false},
        {M::viewSortTime, noFile, true, false, false}, {M::viewSortTime, file, true, true, false},
        {M::alarmEnable, noFile, true, false, false}, {M::alarmEnable, file, true, true, true},
        {M::alarmDelete, file, false, false, false},  {M::alarmDelete, staleRow, false, false, false},
        {M::alarmDelete, row, true, true, true},      {M::popupDelete, row, true, true, false},
        {M::helpReadme, file, false, false, false},   {M::helpReadme, readme, true, true, false},
    };
    for (const auto& [item, s, enabled, available, shortcut] : cases) {
        EXPECT_EQ(std::tuple(menuItemState(item, s).enabled, isCommandAvailable(item, s), shortcutAllowed(item, s)),
                  std::tuple(enabled, available, shortcut)) << static_cast<int>(item) << " file=" << s.fileOpen;
    }
}

// The tip is cut to the field without splitting a character and sent only
// when it changes.
TEST(TrayIcon, TheTipFitsTheFieldAndIsSentOnlyWhenItChanges) {
    const std::string title = "Kolviアラーム", pair = "\xF0\x9F\x94\x94";  // 9 UTF-16 units; U+1F514, a surrogate pair
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {title, 10, title},          {title, 9, "Kolviアラー"},  {"ab" + pair, 4, "ab"},  {"ab" + pair, 5, "ab" + pair},
        {title + "\r\nx", 11, title}, {title + "\r\nx", 12, title},  // no lone CR at the end, nor an empty line
        {title, 0, ""},              {"a\xE3\x82", 3, "a\xE3\x82"},  // a truncated sequence is one unit
    };
    for (const auto& [tip, field, fitted] : cases) EXPECT_EQ(fitTrayTip(tip, field), fitted) << tip << field;
    EXPECT_EQ(fitTrayTip(trayTipText("D:\\x\\" + std::string(300, 'n') + ".alm")),  // 127 units of text
              title + "\r\n" + std::string(127 - 11, 'n'));
    TrayIconState tray(0);
    // Sent only when it changes: the name part alone counts.
    const auto sent = std::array{tray.updateTip(""), tray.updateTip("wake.alm"), tray.updateTip("D:\\x\\wake.alm"),
                                 tray.updateTip("")};
    EXPECT_EQ(sent, (decltype(sent){std::nullopt, title + "\r\nwake.alm", std::nullopt, title}));
}

// Restored, the window returns to its state before it went into the tray;
// started maximised straight into the tray, it comes back maximised; a
// minimised state is never one to return to.
TEST(TrayIcon, MinimiseHidesIntoTheTrayUntilRestored) {
    // Newer notify-icon versions put the icon id in the high word of a callback.
    EXPECT_EQ(trayCallbackAction(0x0001'0000u | trayMouse::kLeftDoubleClick), TrayCallbackAction::restore);
    EXPECT_EQ(trayCallbackAction(0x0001'0000u | trayMouse::kRightButtonUp), TrayCallbackAction::openMenu);
    TrayIconState tray(0), refreshed(30000);
    tray.onResize(S::maximized);
    EXPECT_EQ(tray.onResize(S::minimized), (TrayIconState::ResizeActions{true, true, false}));  // no period: no timer
    EXPECT_EQ(tray.restore(), S::maximized);
    EXPECT_EQ(tray.onResize(S::normal), (TrayIconState::ResizeActions{false, false, false}));
    tray.onResize(S::minimized);
    EXPECT_EQ(tray.restore(), S::normal);
    EXPECT_EQ(TrayIconState(0, S::maximized).windowStateTmp(), S::maximized);
    EXPECT_EQ(TrayIconState(0, S::minimized).windowStateTmp(), S::normal);
    refreshed.onResize(S::maximized);
    EXPECT_EQ(refreshed.onResize(S::minimized), (TrayIconState::ResizeActions{true, true, true}));
}

// The refresh timer and the shell's restart re-add the icon only while in
// the tray, a refused add is tried again a limited number of times, and
// nothing happens on resize once the exit has started.
TEST(TrayIcon, TheIconIsAddedAgainOnlyWhileInTheTrayAndUntilTheExit) {
    TrayIconState tray(30000);
    tray.onResize(S::maximized);
    tray.onResize(S::minimized);
    EXPECT_TRUE(tray.inTray());
    EXPECT_TRUE(tray.onRefreshTimer());
    EXPECT_TRUE(tray.onTaskbarCreated());
    for (int i = 0; i < TrayIconState::kMaxAddTries; ++i) EXPECT_TRUE(tray.retryAdd());  // a refused add
    EXPECT_FALSE(tray.retryAdd());
    tray.iconAdded();
    EXPECT_TRUE(tray.retryAdd());
    const auto neverAddedAgain = [&tray](const char* when) {
        EXPECT_FALSE(tray.onRefreshTimer()) << when;
        EXPECT_FALSE(tray.onTaskbarCreated()) << when;
        EXPECT_FALSE(tray.retryAdd()) << when;
    };
    tray.restore();
    neverAddedAgain("restored");
    tray.onResize(S::minimized);
    tray.beginExit();
    neverAddedAgain("in the tray as the exit began");
    EXPECT_EQ(tray.onResize(S::minimized), TrayIconState::ResizeActions{});
    EXPECT_EQ(tray.onResize(S::normal), TrayIconState::ResizeActions{});
    EXPECT_EQ(tray.windowStateTmp(), S::maximized);
}

class WindowSettingsTest : public ::testing::Test, protected test::ProgramFiles {
protected:
    // The settings file holding text, then value.
    SettingsFile& withFile(const std::string& text, std::string_view value = {}) {
        fs.put(settings.path(), text + std::string(value));
        return settings;
    }
};

auto fields(const WindowSettings& w) {
    return std::tuple(w.state, w.left, w.top, w.width, w.height, w.alpha, w.list.sortColumn, w.list.sortOrder,
                      w.list.columnWidths, w.showToolTip, w.statusBarVisible);
}

// Values in range are read as written; out of range, each falls back (state,
// sizes, sort, widths) or is clamped (opacity); a flag is on for 1 only, a
// fraction after the number ignored.
TEST_F(WindowSettingsTest, HandEditedValuesAreBroughtIntoRange) {
    const std::pair<std::string, WindowSettings> cases[] = {
        {"[window]\r\nstate=1\r\nleft=-1200\r\ntop=-30\r\narpha=128\r\nwidth=9000\r\nheight=4000\r\n"
         "[list]\r\nsortkey=0\r\nsortorder=-1\r\ncolwidth3=120\r\nshowtooltip=1.7\r\n[statusbar]\r\nvisible=0\r\n",
         {S::minimized, -1200, -30, 9000, 4000, 128, {C::number, O::toggle, {40, 40, 120, 70, 200, 40}}, true, false}},
        {"[window]\r\nstate=3\r\narpha=300\r\nwidth=0\r\nheight=-20\r\n"
         "[list]\r\nsortkey=6\r\nsortorder=2\r\ncolwidth2=0\r\nshowtooltip=2\r\n[statusbar]\r\nvisible=x\r\n",
         {S::normal, 0, 0, 7000, 3500, 255, {C::time, O::ascending, {40, 40, 100, 70, 200, 40}}, false, false}},
        {"[window]\r\nstate=2\r\narpha=-4\r\n[list]\r\nsortkey=-1\r\nshowtooltip=-1\r\n[statusbar]\r\nvisible=\r\n",
         {S::maximized, 0, 0, 7000, 3500, 0, {C::time, O::ascending, {40, 40, 100, 70, 200, 40}}, false, true}},
    };
    for (const auto& [file, w] : cases) EXPECT_EQ(fields(loadWindowSettings(withFile(file))), fields(w)) << file;
}

// What the exit writes reads back as it was (the opacity, never written,
// excepted); a tag the file cannot hold leaves no older file to be reopened.
TEST_F(WindowSettingsTest, SavedSettingsReadBack) {
    WindowSettings w{S::minimized, -1200, 450, 9000, 4005, 128, {C::name, O::descending, {40, 120, 100, 70, 200, 40}},
                     true, false};
    saveWindowSettings(withFile("[window]\r\narpha=7\r\n"), w, "  list.alm ");
    w.alpha = 7;
    EXPECT_EQ(fields(loadWindowSettings(settings)), fields(w));
    EXPECT_EQ(settings.readString("list", "lastopen", ""), "list.alm");
    saveWindowSettings(settings, w, "smile 😀.alm");
    EXPECT_EQ(settings.readString("list", "lastopen", "none"), "");
}

TEST_F(WindowSettingsTest, TimerPeriodsAreBroughtIntoRange) {
    for (const auto& [value, ms] : {std::pair{"", 250}, {"100", 100}, {"-5", 0}, {"70000", 65535}}) {
        EXPECT_EQ(readCheckInterval(withFile("[time]\r\ninterval=", value)), ms) << value;
    }
    for (const auto& [value, ms] : {std::pair{"", 0u}, {"-1", 0u}, {"65", 65000u}, {"86401", 86400000u}}) {
        EXPECT_EQ(readTrayRefreshPeriod(withFile("[window]\r\ntrayrefreshinterval=", value)), ms) << value;
    }
}

// The close command asks only while closeconfirm is not 0 (the window tests
// show that the exit and the end of the session never ask).
TEST_F(WindowSettingsTest, TheCloseCommandAsksWhileCloseconfirmIsOn) {
    for (const auto& [value, asks] : {std::pair{"", false}, {"0", false}, {"2", true}, {"-1", true}}) {
        withFile("[window]\r\ncloseconfirm=", value);
        EXPECT_EQ(closeNeedsConfirmation(CloseSource::closeCommand, settings), asks) << value;
    }
}

// Exactly one argument, exactly "min"; a window stored minimised comes back normal from the tray.
TEST(StartUp, MinArgumentAndStoredStateDecideTheTray) {
    const std::pair<std::vector<std::string>, bool> arguments[] = {
        {{"min"}, true}, {{}, false}, {{"MIN"}, false}, {{" min"}, false}, {{"min", "x"}, false}, {{"x", "min"}, false},
    };
    for (const auto& [args, min] : arguments) EXPECT_EQ(isMinimizedStartArgument(args), min) << args.size();
    EXPECT_EQ((std::array{startPlan(S::normal, false), startPlan(S::maximized, true), startPlan(S::minimized, false)}),
              (std::array{StartPlan{S::normal, false}, StartPlan{S::maximized, true}, StartPlan{S::normal, true}}));
}

// The list fills the client area above a visible status bar; a client area
// no higher than the bar (a minimised window) leaves the list alone.
TEST(Geometry, TheListFillsTheClientAreaAboveTheStatusBar) {
    EXPECT_EQ(layoutAlarmList({500, 300}, true, 22), (Rect{0, 0, 500, 278}));
    EXPECT_EQ(layoutAlarmList({500, 23}, false, 22), (Rect{0, 0, 500, 23}));
    EXPECT_EQ(layoutAlarmList({500, 22}, true, 22), std::nullopt);
}

// Twips convert rounding half away from zero; a dpi of 0 or less counts as
// 96; beyond int, saturation.
TEST(Geometry, TwipsConvertToPixelsAndBack) {
    const int cases[][3] = {
        // twips, dpi, pixels
        {7000, 96, 467}, {3500, 96, 233}, {7000, 120, 583}, {-7, 96, 0}, {-8, 96, -1}, {1440, 0, 96}, {1440, -5, 96},
    };
    for (const auto& [twips, dpi, pixels] : cases) EXPECT_EQ(twipsToPixels(twips, dpi), pixels) << twips << '@' << dpi;
    EXPECT_EQ(pixelsToTwips(INT_MAX, 96), INT_MAX);
    EXPECT_EQ(pixelsToTwips(INT_MIN, 96), INT_MIN);
    // Pixels survive a round trip (so twips settle after one).
    for (const int dpi : {96, 120, 144, 192}) {
        for (int px = -4000; px <= 8000; ++px) ASSERT_EQ(twipsToPixels(pixelsToTwips(px, dpi), dpi), px) << dpi;
    }
}

// A window whose title bar can still be grabbed on some monitor stays: on the
// monitor left of the primary, 120 pixels of title shown, 12 of 24 caption
// pixels above the bottom, narrower than the grab width but all shown, or with
// no monitors known. Any other moves to the primary work area's corner, cut to
// its size: on a monitor that is gone, under a taskbar at the top, a 40-pixel
// sliver of title, 11 caption pixels, larger than the screen.
TEST(Placement, AnUnreachableWindowMovesOntoThePrimaryWorkArea) {
    const std::vector<Rect> monitors{{0, 40, 1920, 1080}, {-1280, 0, 0, 984}};
    const PlacementMetrics m = placementMetricsForDpi(96);
    for (const Rect& stays :
         {Rect{-1000, 100, -500, 400}, {1800, 500, 2300, 800}, {100, 1068, 500, 1300}, {0, 300, 40, 600}}) {
        EXPECT_EQ(placeWindowOnScreen(stays, monitors, m), stays) << stays.left << "," << stays.top;
    }
    EXPECT_EQ(placeWindowOnScreen({4000, 0, 4100, 100}, {}, m), (Rect{4000, 0, 4100, 100}));
    const std::pair<Rect, Rect> moves[] = {
        {{4000, 100, 4500, 400}, {0, 40, 500, 340}},  {{0, 0, 467, 233}, {0, 40, 467, 273}},
        {{1880, 300, 2400, 600}, {0, 40, 520, 340}},  {{100, 1069, 600, 1369}, {0, 40, 500, 340}},
        {{100, -500, 5000, 3000}, {0, 40, 1920, 1080}},
    };
    for (const auto& [w, placed] : moves) EXPECT_EQ(placeWindowOnScreen(w, monitors, m), placed) << w.left;
}

}  // namespace
}  // namespace kolvi
