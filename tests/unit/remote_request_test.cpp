// The command line's requests and the hot key's notation: what each form of
// words adds, what is refused and with which text, and the words' way to the
// running program.
#include "mainwindow/hot_key.h"
#include "mainwindow/remote_request.h"

#include <gtest/gtest.h>

#include "platform/posix/iconv_codec.h"
#include "texts/editor_texts.h"
#include "texts/remote_texts.h"

namespace kolvi {
namespace {

// The alarm line a request adds at Tuesday 23:59:50, then the timer history's
// entry; or the refusal's text ("usage" for the usage box).
std::string outcome(const std::vector<std::string>& words) {
    const RemoteParse parsed = parseRemoteRequest(words, IconvCodec());
    if (!parsed.request) return parsed.refusal == kRemoteUsage ? "usage" : parsed.refusal;
    const RemoteAlarm alarm = remoteAlarm(*parsed.request, {2, 23, 59, 50, 100});
    const auto& h = alarm.history;
    return formatAlarmLine(alarm.record) + (h ? " " + h->name + "," + h->hours + h->minutes + h->seconds : "");
}

TEST(RemoteRequestTest, CountdownsAndAlarmsAreMadeAndRefusedAsTheEditorMakesAndRefusesThem) {
    const std::string zero(kMsgCountdownZero), tooLong(kMsgCountdownTooLong), badTime(kMsgBadTimeOfDay),
        comma(kMsgCommaInField), unstorable(kMsgUnstorableCharacter);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"/timer", "0:05", "お茶"}, "1,お茶,1,1,1,1,1,1,1,23,59,55,,1 お茶,000005"},
        {{"/TIMER", "1h30m"}, "1,タイマー,1,1,1,1,1,1,1,01,29,50,,1 タイマー,013000"},
        {{"/timer", "90s", ""}, "1,タイマー,1,1,1,1,1,1,1,00,01,20,,1 タイマー,000130"},
        {{"/timer", "1:02:03"}, "1,タイマー,1,1,1,1,1,1,1,01,01,53,,1 タイマー,010203"},
        {{"/timer", "90:00"}, "1,タイマー,1,1,1,1,1,1,1,01,29,50,,1 タイマー,013000"},
        {{"/timer", "23:59:59"}, "1,タイマー,1,1,1,1,1,1,1,23,59,49,,1 タイマー,235959"},
        {{"/timer", "2H5S"}, "1,タイマー,1,1,1,1,1,1,1,01,59,55,,1 タイマー,020005"},
        {{"/timer", "0s"}, zero}, {{"/timer", "0:00"}, zero}, {{"/timer", "24h"}, tooLong}, {{"/timer", "1440m"}, tooLong},
        {{"/timer", "99999999999999999999h"}, tooLong}, {{"/timer", "5m", "a,b"}, comma},
        {{"/timer", "5m", "a\nb"}, unstorable + "U+000A"}, {{"/alarm", "25:00", "a,b"}, comma},
        {{"/alarm", "25:00"}, badTime}, {{"/alarm", "7:60"}, badTime}, {{"/alarm", "7:00:60"}, badTime},
        {{"/alarm", "7:00", "n", "a,b"}, comma}, {{"/alarm", "7:05"}, "1,,1,1,1,1,1,1,1,07,05,00,,0"},
        {{"/Alarm", "07:05:30", "土日", "朝", "C:\\a b.wav"}, "1,朝,1,0,0,0,0,0,1,07,05,30,C:\\a b.wav,0"},
        {{"/alarm", "7:00", "毎日", "月"}, "1,月,1,1,1,1,1,1,1,07,00,00,,0"},
        {{"/alarm", "7:00", "水月水"}, "1,,0,1,0,1,0,0,0,07,00,00,,0"},
        {{"/alarm", "7:00", "朝会", "lock"}, "1,朝会,1,1,1,1,1,1,1,07,00,00,lock,0"},
    };
    for (const auto& [words, expected] : cases) EXPECT_EQ(outcome(words), expected) << words[0] << " " << words.back();
    for (const std::vector<std::string>& words : std::initializer_list<std::vector<std::string>>{
             {"/timer", "15"}, {"/timer", "30m1h"}, {"/timer", "1h1h"}, {"/timer", "0:5"}, {"/timer", "1:60"},
             {"/timer", "1:2:03:04"}, {"/timer", "-5m"}, {"/timer", "1.5h"}, {"/timer", ""}, {"/timer", "5m", "a", "b"},
             {"/timer"}, {"/snooze", "5m"}, {"/alarm", "7"}, {"/alarm", "123:00"}, {"/alarm", "7:0"},
             {"/alarm", "7:00", "毎日", "a", "b", "c"}}) {
        EXPECT_EQ(outcome(words), "usage") << words[0] << " " << words.back();
    }
}

TEST(RemoteRequestTest, StartArgumentsSplitAndTheWordsSurviveTheirWay) {
    using Words = std::vector<std::string>;
    const auto split = [](const Words& arguments) {
        const StartArguments start = splitStartArguments(arguments);
        return (start.minimized ? "min " : "") + std::to_string(start.request.size());
    };
    EXPECT_EQ(split({}) + split({"min"}) + split({"MIN"}) + split({"min", "x"}) + split({"list.alm"}), "0min 0000");
    EXPECT_EQ(split({"min", "/timer", "5m"}) + "|" + split({"/alarm", "7:00"}) + "|" + split({"/x"}), "min 2|2|1");

    const Words words{"/timer", "0:05", "お茶", ""};
    EXPECT_EQ(decodeRemoteRequest(encodeRemoteRequest(words)), words);
    EXPECT_EQ(decodeRemoteRequest(""), std::nullopt);
    EXPECT_EQ(decodeRemoteRequest(std::string("/timer\0005m", 9)), std::nullopt);  // not ended
    EXPECT_EQ(decodeRemoteRequest(std::string(kMaxRemoteRequestBytes + 1, 0)), std::nullopt);
}

TEST(RemoteRequestTest, HotKeyNotation) {
    const auto key = [](std::string_view notation) {
        const std::optional<HotKey> k = parseHotKey(notation);
        return k ? std::to_string(k->modifiers) + ":" + std::to_string(k->key) : "-";
    };
    EXPECT_EQ(key("Ctrl+Alt+T") + " " + key(" ctrl + SHIFT + f12 ") + " " + key("Win+5") + " " + key("F1") + " " +
                  key("alt+F24") + " " + key("Shift+F10"),
              "3:84 6:123 8:53 0:112 1:135 4:121");
    for (const char* bad : {"", "T", "Shift+T", "Ctrl+Ctrl+T", "Ctrl+", "Ctrl+Alt", "Ctrl+F25", "Ctrl+F0", "Ctrl+F01",
                            "Hyper+T", "Ctrl+TT", "Ctrl+Alt+T+", "Ctrl+ä", "Ctrl+-"}) {
        EXPECT_EQ(key(bad), "-") << bad;
    }
}

}  // namespace
}  // namespace kolvi
