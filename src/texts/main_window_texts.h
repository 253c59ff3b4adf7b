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

// The next-alarm line of the tray tip and the status bar's second panel:
// kNextAlarmPrefix + name + " " + "HH:MM:SS" + " (" + the time left + ")".
inline constexpr std::string_view kNextAlarmPrefix = "次: ";
// The time left: kTimeLeftPrefix, then kUnderAMinute, or the minutes, or the
// hours and the minutes ("あと 2時間5分").
inline constexpr std::string_view kTimeLeftPrefix = "あと ";
inline constexpr std::string_view kUnderAMinute = "1分未満";
inline constexpr std::string_view kHoursUnit = "時間";
inline constexpr std::string_view kMinutesUnit = "分";

// Title of the window that lists the alarms a sleeping or suspended machine
// missed.
inline constexpr std::string_view kMissedAlarmsTitle = "実行されなかったアラーム";

}  // namespace kolvi
