#include "mainwindow/main_window_model.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "mainwindow/list_interaction.h"
#include "platform/keys.h"
#include "support/fakes.h"

namespace kolvi {
namespace {

const AlarmSwitchDecision kRunning{true, std::nullopt, SystemColor::window};
const AlarmSwitchDecision kStopped{false, "アラーム停止中", SystemColor::buttonFace};

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
    EXPECT_FALSE(model.alarmSwitchOn());
    EXPECT_EQ(model.resume(), kStopped);
    model.pause();
    EXPECT_EQ(model.toggleAlarmSwitch(), kStopped);  // on again, still paused
    EXPECT_EQ(model.resume(), kRunning);
    EXPECT_EQ(model.toggleAlarmSwitch(), kStopped);
    // A period of 0 ms would never tick: the window says it is stopped.
    EXPECT_EQ(MainWindowModel(0).alarmSwitch(), kStopped);
}

TEST(MainWindowModel, ExitIsRequestedAndTheWindowUnloadedOnce) {
    MainWindowModel model;
    EXPECT_TRUE(model.requestExit());
    EXPECT_FALSE(model.requestExit());
    EXPECT_TRUE(model.beginUnload());
    EXPECT_FALSE(model.beginUnload());
}

// The number column (subitem 0) is never a sort target, nor is anything
// outside the columns.
TEST(MainWindowModel, HeaderClickSortsByItsColumn) {
    const std::optional<int> expected[] = {std::nullopt, std::nullopt, 1, 2, 3, 4, 5, std::nullopt};
    for (int subitem = -1; subitem <= 6; ++subitem) {
        EXPECT_EQ(sortKeyForHeaderClick(subitem), expected[subitem + 1]) << subitem;
    }
}

TEST(MainWindowModel, VolumeControlFallsBackToItsOlderName) {
    test::RecordingDesktop desktop;
    startVolumeControl(desktop);
    desktop.startSucceeds = false;
    startVolumeControl(desktop);
    EXPECT_EQ(desktop.started, (std::vector<std::string>{"sndvol.exe", "sndvol.exe", "sndvol32.exe"}));
}

TEST(ListInteraction, MenuKeyOrShiftF10AloneOpensTheContextMenu) {
    const std::tuple<unsigned, bool, bool, bool, bool> cases[] = {
        // key, shift, ctrl, alt, opens
        {vk::kApps, false, false, false, true}, {vk::kF10, true, false, false, true},
        {vk::kF10, false, false, false, false}, {vk::kF10, true, true, false, false},
        {vk::kF10, true, false, true, false},   {vk::kF10 - 1, true, false, false, false},
    };
    for (const auto& [key, shift, ctrl, alt, opens] : cases) {
        EXPECT_EQ(opensListPopupFromKeyboard(key, shift, ctrl, alt), opens)
            << key << " shift=" << shift << " ctrl=" << ctrl << " alt=" << alt;
    }
}

// From the keyboard the menu opens at the middle of the current row's left
// edge, kept inside the list, or at its corner; from the mouse at the pointer.
TEST(ListInteraction, ContextMenuPlan) {
    const Rect row{0, 40, 300, 57};  // 17 pixels high
    const Size list{400, 200};
    constexpr MenuItem edit = MenuItem::popupEdit, add = MenuItem::popupAdd;
    constexpr PopupAnchor point = PopupAnchor::atPoint, pointer = PopupAnchor::atPointer;
    const std::tuple<ListPopupRequest, std::optional<ListPopupPlan>> cases[] = {
        {{false, true, false, row, list}, std::nullopt},  // no file: nothing opens
        {{false, false, true, std::nullopt, list}, std::nullopt},
        {{true, true, false, std::nullopt, list}, ListPopupPlan{edit, pointer, {}}},
        {{true, false, false, std::nullopt, list}, ListPopupPlan{add, pointer, {}}},
        {{true, true, true, row, list}, ListPopupPlan{edit, point, {0, 48}}},
        {{true, false, true, std::nullopt, list}, ListPopupPlan{add, point, {0, 0}}},
        {{true, true, true, Rect{-4, -30, 300, -13}, list}, ListPopupPlan{edit, point, {0, 0}}},  // scrolled above
        {{true, true, true, Rect{0, 250, 300, 267}, list}, ListPopupPlan{edit, point, {0, 199}}},  // below the list
    };
    for (const auto& [request, plan] : cases) EXPECT_EQ(planListPopup(request), plan);
}

}  // namespace
}  // namespace kolvi
