#pragma once
// Texts of the command line and the global hot key, byte for byte.
#include <string_view>

namespace kolvi {

// The box of a command line that fits no form (warning icon, program title):
// one line per form, then how times and weekdays are written.
inline constexpr std::string_view kRemoteUsage =
    "使い方:\r\n"
    "kolvialarm.exe /timer 時間 [名前]\r\n"
    "kolvialarm.exe /alarm 時:分[:秒] [曜日] [名前] [ファイル]\r\n"
    "時間は 1:30:00、5:00、90s、15m、1h30m のように、曜日は 日月火水木金土 の組み合わせか 毎日 で指定します。";
// The weekday word of the command line for all seven days.
inline constexpr std::string_view kEveryDayWord = "毎日";
// The running program got a request while no alarm file was open.
inline constexpr std::string_view kMsgNoAlarmFileOpen = "アラームファイルが開かれていません。";
// The status bar's notice: kHotKeyFailedPrefix + the setting + kHotKeyFailedSuffix.
inline constexpr std::string_view kHotKeyFailedPrefix = "ホットキー ";
inline constexpr std::string_view kHotKeyFailedSuffix = " を登録できませんでした。";

}  // namespace kolvi
