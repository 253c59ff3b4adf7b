#pragma once
// Every user-visible text of the main window, its menus and its small boxes,
// byte for byte. The resource script carries the same menu captions; a unit
// test compares the two so that they cannot drift apart.
#include <string_view>

namespace kolvi {

// Menu bar: file.
inline constexpr std::string_view kCaptionFile = "ファイル(&F)";
inline constexpr std::string_view kCaptionFileNew = "新規作成(&N)...";
inline constexpr std::string_view kCaptionFileOpen = "開く(&O)...";
inline constexpr std::string_view kCaptionFileSaveAs = "名前を付けて保存(&A)...";
inline constexpr std::string_view kCaptionFileClose = "閉じる(&C)";
inline constexpr std::string_view kCaptionFileDateTime = "日付と時刻のプロパティ(&T)";
inline constexpr std::string_view kCaptionFileVolume = "ボリューム コントロール(&V)";
inline constexpr std::string_view kCaptionFileExit = "終了(&X)";

// Menu bar: view.
inline constexpr std::string_view kCaptionView = "表示(&V)";
inline constexpr std::string_view kCaptionViewStatus = "ステータス バー(&B)";
inline constexpr std::string_view kCaptionViewToolTip = "ツール ヒント(&T)";
inline constexpr std::string_view kCaptionViewSort = "整列(&S)";
inline constexpr std::string_view kCaptionViewSortName = "名前(&N)";
inline constexpr std::string_view kCaptionViewSortDay = "曜日(&D)";
inline constexpr std::string_view kCaptionViewSortTime = "時刻(&T)";
inline constexpr std::string_view kCaptionViewSortFile = "ファイル(&F)";
inline constexpr std::string_view kCaptionViewSortDelete = "削除(&L)";

// Menu bar: alarm.
inline constexpr std::string_view kCaptionAlarm = "アラーム(&A)";
inline constexpr std::string_view kCaptionAlarmEnable = "アラーム有効";
inline constexpr std::string_view kCaptionAlarmEdit = "編集(&E)...";
inline constexpr std::string_view kCaptionAlarmDelete = "削除(&D)";
inline constexpr std::string_view kCaptionAlarmAdd = "追加(&A)...";
inline constexpr std::string_view kCaptionAlarmPreview = "プレビュー(&P)";

// Menu bar: help.
inline constexpr std::string_view kCaptionHelp = "ヘルプ(&H)";
inline constexpr std::string_view kCaptionHelpReadme = "readmeを開く(&R)";
inline constexpr std::string_view kCaptionHelpAbout = "バージョン情報(&A)";

// The list's context menu (the same words as the alarm menu).
inline constexpr std::string_view kCaptionPopup = "ポップアップ";
inline constexpr std::string_view kCaptionPopupEdit = kCaptionAlarmEdit;
inline constexpr std::string_view kCaptionPopupDelete = kCaptionAlarmDelete;
inline constexpr std::string_view kCaptionPopupAdd = kCaptionAlarmAdd;
inline constexpr std::string_view kCaptionPopupPreview = kCaptionAlarmPreview;

// The notification-area icon's menu.
inline constexpr std::string_view kCaptionTrayPopup = "タスクトレイ";
inline constexpr std::string_view kCaptionTrayPopupSize = "元のサイズに戻す(&R)";
inline constexpr std::string_view kCaptionTrayPopupExit = kCaptionFileExit;
inline constexpr std::string_view kCaptionTrayPopupCancel = "キャンセル(&C)";

// A separator's caption in the menu tree.
inline constexpr std::string_view kCaptionSeparator = "-";

// Shortcut descriptions, shown after a tab at the right of their items.
inline constexpr std::string_view kShortcutFileNew = "Ctrl+N";
inline constexpr std::string_view kShortcutFileOpen = "Ctrl+O";
inline constexpr std::string_view kShortcutAlarmEnable = "F5";
inline constexpr std::string_view kShortcutAlarmDelete = "Del";
inline constexpr std::string_view kShortcutAlarmAdd = "Ctrl+Ins";
inline constexpr std::string_view kShortcutAlarmPreview = "Ctrl+P";

// First panel of the status bar.
inline constexpr std::string_view kStatusAlarmStopped = "アラーム停止中";
inline constexpr std::string_view kStatusNoFile = "ファイルを開くか、または新規作成して下さい。";

// The version box (message box, information icon, OK).
inline constexpr std::string_view kVersionBoxTitle = "Kolviアラームのバージョン情報";

// Title of the save dialog that creates a new alarm file.
inline constexpr std::string_view kNewFileDialogTitle = "新規作成";

// The question of the window's own close command (warning icon, OK and
// Cancel, Cancel the default), titled with the program title.
inline constexpr std::string_view kCloseConfirmText = "終了するとアラームは停止します。";

}  // namespace kolvi
