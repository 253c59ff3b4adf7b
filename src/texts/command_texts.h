#pragma once
// Texts of the countdown window that comes before an alarm logs off, shuts
// down or restarts, byte for byte.
#include <string_view>

namespace kolvi {

// name + ": " + seconds + kPowerSecondsAfter + what happens then, e.g.
// "会議: 30秒後にシャットダウンします。"
inline constexpr std::string_view kPowerSecondsAfter = "秒後に";
inline constexpr std::string_view kPowerOffWillRun = "シャットダウンします。";
inline constexpr std::string_view kRebootWillRun = "再起動します。";
inline constexpr std::string_view kLogOffWillRun = "ログオフします。";
// Its buttons; Escape presses kPowerCancelButton.
inline constexpr std::string_view kPowerRunNowButton = "今すぐ実行";
inline constexpr std::string_view kPowerCancelButton = "キャンセル";

}  // namespace kolvi
