#pragma once
// Texts shown by more than one part of the program, byte for byte. Every
// user-visible text lives in this folder or in the resource script; nothing
// here depends on anything else, so any layer may include it.
#include <string_view>

namespace kolvi {

// The caption of every message box and of the main window.
inline constexpr std::string_view kProgramTitle = "Kolviアラーム";

// The first panel of the main window's status bar.
inline constexpr std::string_view kStatusAlarmStopped = "アラーム停止中";
inline constexpr std::string_view kStatusNoFile = "ファイルを開くか、または新規作成して下さい。";

// A fault the program did not expect reached a window: said in an error box,
// followed by a line break and the fault's own text, and the window goes on.
inline constexpr std::string_view kUnexpectedError = "予期しないエラーが発生しました。";

}  // namespace kolvi
