#pragma once
// Texts of the start-with-Windows entry and of the "will it ring?" check.
#include <string_view>

namespace kolvi {

// The name of the program's entry under the user's Run key.
inline constexpr std::string_view kStartupEntryName = "Kolviアラーム";
// What follows the program's path in that entry: start in the tray.
inline constexpr std::string_view kStartupArgument = "min";
// The entry could not be written or removed; the system's reason follows.
inline constexpr std::string_view kStartupWriteFailed = "Windows の起動時に開始する設定を変更できませんでした。\n";

// The end of the next-alarm line (and of a notification window's first line)
// when the alarm's sound will not be heard.
inline constexpr std::string_view kSilentMuted = " — 音が出ません (ミュート)";
inline constexpr std::string_view kSilentLevelZero = " — 音が出ません (音量 0)";
inline constexpr std::string_view kSilentNoDevice = " — 音が出ません (出力装置なし)";
inline constexpr std::string_view kSilentNoFile = " — 音が出ません (ファイルがありません)";

}  // namespace kolvi
