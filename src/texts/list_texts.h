#pragma once
// Texts of the alarm list's columns.
#include <array>
#include <string_view>

namespace kolvi {

inline constexpr std::array<std::string_view, 6> kColumnHeaders{"", "名前", "曜日", "時刻", "ファイル", "削除"};
// One character per weekday, Sunday first: the day column is built from them
// and the alarm check looks for today's in it.
inline constexpr std::array<std::string_view, 7> kDayNames{"日", "月", "火", "水", "木", "金", "土"};
// After the header of the sort column.
inline constexpr std::string_view kAscendingMark = " △";
inline constexpr std::string_view kDescendingMark = " ▽";
// The delete-after-run column.
inline constexpr std::string_view kDeleteYes = "する";
inline constexpr std::string_view kDeleteNo = "しない";

}  // namespace kolvi
