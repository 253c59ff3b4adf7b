#include "command/power_countdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"

namespace kolvi {
namespace {

using Texts = std::vector<std::string>;

TEST(PowerCountdown, CountsDownAndRunsExactlyOnceUnlessCancelled) {
    const struct {
        const char* script;  // 't' a second passes, 'r' 今すぐ実行, 'c' キャンセル
        Texts calls;
        Texts texts;  // shown after the first
    } cases[] = {
        {"tttttr", {"poweroff"}, {"会議: 2秒後にシャットダウンします。", "会議: 1秒後にシャットダウンします。"}},
        {"trtrt", {"poweroff"}, {"会議: 2秒後にシャットダウンします。"}},
        {"tcttr", {}, {"会議: 2秒後にシャットダウンします。"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        test::RecordingSystemActions actions;
        PowerCountdown countdown("会議", PowerAction::powerOff, 3);
        EXPECT_EQ(countdown.text(), "会議: 3秒後にシャットダウンします。");
        Texts texts;
        for (const char* step = c.script; *step != '\0'; ++step) {
            if (*step == 't' && countdown.tick(actions)) texts.push_back(countdown.text());
            if (*step == 'r') countdown.runNow(actions);
            if (*step == 'c') countdown.cancel();
        }
        EXPECT_TRUE(countdown.done());
        EXPECT_EQ(actions.calls, c.calls);
        EXPECT_EQ(texts, c.texts);
    }
}

TEST(PowerCountdown, OnlyPowerCommandsWithADelayCountDown) {
    const struct {
        const char* command;
        const char* name;
        int delay;
        const char* text;  // "": run at once, as always
    } cases[] = {
        {"REBOOT2K", "朝", 30, "朝: 30秒後に再起動します。"},
        {"logoffxp", "", 5, "5秒後にログオフします。"},
        {"shutdown2k", "朝", 0, ""},
        {"lock", "朝", 30, ""},
        {"sendkeys shutdown2k", "朝", 30, ""},
        {"exit", "朝", 30, ""},
        {"shutdown2k.wav", "朝", 30, ""},
    };
    for (const auto& c : cases) {
        const std::optional<PowerCountdown> countdown = guardPowerCommand(c.command, c.name, c.delay);
        EXPECT_EQ(countdown ? countdown->text() : "", c.text) << c.command;
    }
}

}  // namespace
}  // namespace kolvi
