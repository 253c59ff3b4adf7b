#pragma once
// Texts of the main window's boxes and dialogs, byte for byte. Menu captions
// live in the resource script only.
#include <string_view>

namespace kolvi {

// The version box (message box, information icon, OK).
inline constexpr std::string_view kVersionBoxTitle = "Kolviアラームのバージョン情報";
// Title of the save dialog that creates a new alarm file.
inline constexpr std::string_view kNewFileDialogTitle = "新規作成";
// The question of the window's own close command (warning icon, OK and
// Cancel, Cancel the default), titled with the program title.
inline constexpr std::string_view kCloseConfirmText = "終了するとアラームは停止します。";
// The one filter of the alarm file dialogs: description and pattern.
inline constexpr std::string_view kAlarmFileFilterName = "アラームファイル(*.alm)";
inline constexpr std::string_view kAlarmFileFilterPattern = "*.alm";

}  // namespace kolvi
