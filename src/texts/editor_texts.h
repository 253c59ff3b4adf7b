#pragma once
// Texts of the alarm editor, byte for byte. The captions that never change
// (labels, buttons, the preset menus) live in the resource script only.
#include <string_view>

namespace kolvi {

// Dialog titles.
inline constexpr std::string_view kEditorTitleAdd = "アラームの追加";
inline constexpr std::string_view kEditorTitleEdit = "アラームの編集";

// Captions that follow the kind: alarm kind, then timer kind.
inline constexpr std::string_view kTimeFrameAlarm = "時刻(&M)";
inline constexpr std::string_view kTimeFrameTimer = "時間(&M)";
inline constexpr std::string_view kHourLabelAlarm = "時";
inline constexpr std::string_view kHourLabelTimer = "時間";
inline constexpr std::string_view kMinLabel = "分";
inline constexpr std::string_view kSecLabelAlarm = "秒";
inline constexpr std::string_view kSecLabelTimer = "秒後";

// The name a countdown starts with.
inline constexpr std::string_view kDefaultTimerName = "タイマー";

// OK's refusals (warning icon, titled with the program title).
inline constexpr std::string_view kMsgCommaInField = "名前とファイルにはカンマ (,) を使えません。";
// The first character that cannot be stored follows.
inline constexpr std::string_view kMsgUnstorableCharacter = "この文字はアラームファイルに保存できません: ";
inline constexpr std::string_view kMsgBadTimeOfDay = "時刻が正しくありません。";
inline constexpr std::string_view kMsgCountdownTooLong = "24時間以上のタイマーは設定できません。";
inline constexpr std::string_view kMsgCountdownZero = "タイマーの時間を 1 秒以上にしてください。";

// The timer history could not be written; a line break and the path follow.
inline constexpr std::string_view kMsgHistoryNotRecorded = "タイマー履歴に記録できませんでした。";

// The file field: the open-file dialog's one filter, the play button's tip.
inline constexpr std::string_view kAnyFileFilterName = "すべてのファイル(*.*)";
inline constexpr std::string_view kAnyFileFilterPattern = "*.*";
inline constexpr std::string_view kPreviewToolTip = "プレビュー";

}  // namespace kolvi
