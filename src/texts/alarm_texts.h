#pragma once
// Texts of firing: the notification window, extensions and the countdown
// tips, byte for byte.
#include <string_view>

namespace kolvi {

// Follows the sound file's name in a preview window.
inline constexpr std::string_view kPreviewMessageSuffix = " の再生プレビューです。";

// Appended to the name of an alarm extended from its notification window.
inline constexpr std::string_view kExtensionNameSuffix = "の延長";
// Information icon, titled with the program title: the file the extension
// would go into was closed while the window was open.
inline constexpr std::string_view kNoFileToExtendText = "アラームファイルが開かれていないため、延長できません。";

// Countdown tips: "[" + name + "]" comes first, then one of these.
inline constexpr std::string_view kTipStopped = " このアラームは停止しています。";
inline constexpr std::string_view kTipNotToday = " このアラームは今日は作動しません。";
inline constexpr std::string_view kTipSecondsBefore = " このアラームは";
inline constexpr std::string_view kTipSecondsAfter = "秒後に作動します。";
inline constexpr std::string_view kTipPassed = " このアラームの設定時刻は本日はもう過ぎています。";
inline constexpr std::string_view kTipImpossibleTime = " このアラームの設定時刻が正しくありません。";

}  // namespace kolvi
