#pragma once
// Messages about the alarm file (error icon; a line break and the full path
// follow the message).
#include <string_view>

namespace kolvi {

inline constexpr std::string_view kMsgFileNotFound = "ファイルが見つかりません。";
inline constexpr std::string_view kMsgBadFormat = "ファイル形式が正しくありません。";
inline constexpr std::string_view kMsgOldVersion = "このバージョンのアラームファイルは開けません。";
inline constexpr std::string_view kMsgCannotOpen = "ファイルを開けません。";
inline constexpr std::string_view kMsgCannotSave = "ファイルを保存できません。";

}  // namespace kolvi
