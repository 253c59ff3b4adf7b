#include "command/power_countdown.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/fakes.h"

namespace kolvi {
namespace {

using Texts = std::vector<std::string>;

TEST(PowerCountdown, OnlyPowerCommandsWithADelayCountDownAndTheActionRunsOnceUnlessCancelled) {
    const std::tuple<const char*, const char*, int, const char*> commands[] = {
        // command, name, delay, the countdown's text; "" (no power command, or no delay): run at once, as always.
        {"shutdown2k", "朝", 3, "朝: 3秒後にシャットダウンします。"}, {"logoffxp", "", 5, "5秒後にログオフします。"},
        {"REBOOT2K", "朝", 30, "朝: 30秒後に再起動します。"}, {"lock", "朝", 30, ""}, {"shutdown2k", "朝", 0, ""},
    };
    for (const auto& [command, name, delay, text] : commands) {
        const std::optional<PowerCountdown> countdown = guardPowerCommand(*parseControlCommand(command), name, delay);
        EXPECT_EQ(countdown ? countdown->text() : "", text) << command;
    }
    // 't' a second passes, 'r' 今すぐ実行, 'c' キャンセル; then what ran and the texts the ticks showed.
    const std::tuple<const char*, Texts, Texts> scripts[] = {
        {"tttttr", {"poweroff"}, {"会議: 2秒後にシャットダウンします。", "会議: 1秒後にシャットダウンします。"}},
        {"trtrt", {"poweroff"}, {"会議: 2秒後にシャットダウンします。"}},
        {"tcttr", {}, {"会議: 2秒後にシャットダウンします。"}},
    };
    for (const auto& [script, calls, texts] : scripts) {
        test::RecordingSystemActions actions;
        PowerCountdown countdown("会議", PowerAction::powerOff, 3);
        Texts shown;
        for (const char* step = script; *step != '\0'; ++step) {
            if (*step == 't' && countdown.tick(actions)) shown.push_back(countdown.text());
            if (*step == 'r') countdown.runNow(actions);
            if (*step == 'c') countdown.cancel();
        }
        EXPECT_EQ(std::tuple(countdown.done(), actions.calls, shown), std::tuple(true, calls, texts)) << script;
    }
}

}  // namespace
}  // namespace kolvi
