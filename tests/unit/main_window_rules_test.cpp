#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "mainwindow/list_interaction.h"
#include "mainwindow/running_state.h"
#include "mainwindow/window_geometry.h"

namespace kolvi {
namespace {

TEST(RunningState, TimerPanelAndBackgroundFollowSwitchAndPause) {
    struct Case {
        bool allow, masterSwitch;
        int intervalMs;
        bool runs;
    };
    const Case cases[] = {
        {true, true, 250, true},     // switch on, nothing open
        {false, true, 250, false},   // editor or preview open
        {true, false, 250, false},   // switch off
        {true, true, 0, false},      // a zero period never ticks
    };
    for (const Case& c : cases) {
        const AlarmSwitchDecision d = decideAlarmSwitch(c.allow, c.masterSwitch, c.intervalMs);
        SCOPED_TRACE(testing::Message() << "allow=" << c.allow << " switch=" << c.masterSwitch
                                        << " interval=" << c.intervalMs);
        EXPECT_EQ(d.timerRunning, c.runs);
        // The running check's next tick writes the panel.
        EXPECT_EQ(d.firstPanelText, c.runs ? std::nullopt : std::optional<std::string_view>("アラーム停止中"));
        EXPECT_EQ(d.listBackground, c.runs ? SystemColor::window : SystemColor::buttonFace);
    }
}

TEST(ListInteraction, MenuKeyOrShiftF10AloneOpensTheContextMenu) {
    struct Case {
        int key;
        bool shift, ctrl, alt, opens;
    };
    const Case cases[] = {
        {93, false, false, false, true},  {121, true, false, false, true},  {121, false, false, false, false},
        {121, true, true, false, false},  {121, true, false, true, false},  {120, true, false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(opensListPopupFromKeyboard(c.key, c.shift, c.ctrl, c.alt), c.opens)
            << c.key << " shift=" << c.shift << " ctrl=" << c.ctrl << " alt=" << c.alt;
    }
}

TEST(ListInteraction, ContextMenuPlan) {
    const Rect row{0, 40, 300, 57};  // 17 pixels high
    const Size list{400, 200};

    // No file: nothing opens, from the mouse or the keyboard.
    EXPECT_EQ(planListPopup({false, true, false, row, list}), std::nullopt);
    EXPECT_EQ(planListPopup({false, false, true, std::nullopt, list}), std::nullopt);

    struct Case {
        const char* what;
        ListPopupRequest request;
        ListPopupPlan plan;
    };
    const Case cases[] = {
        {"right click on a row", {true, true, false, std::nullopt, list},
         {MenuItem::popupEdit, PopupAnchor::atPointer, {}}},
        {"right click on empty space", {true, false, false, std::nullopt, list},
         {MenuItem::popupAdd, PopupAnchor::atPointer, {}}},
        {"menu key with a current row", {true, true, true, row, list},
         {MenuItem::popupEdit, PopupAnchor::atPoint, {0, 48}}},
        {"menu key without a current row", {true, false, true, std::nullopt, list},
         {MenuItem::popupAdd, PopupAnchor::atPoint, {0, 0}}},
        {"row scrolled above the list", {true, true, true, Rect{-4, -30, 300, -13}, list},
         {MenuItem::popupEdit, PopupAnchor::atPoint, {0, 0}}},
        {"row below the list", {true, true, true, Rect{0, 250, 300, 267}, list},
         {MenuItem::popupEdit, PopupAnchor::atPoint, {0, 199}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(planListPopup(c.request), c.plan) << c.what;
    }
}

}  // namespace
}  // namespace kolvi
