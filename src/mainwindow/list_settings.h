#pragma once
// The list's sort and column widths as remembered in the settings file.
#include <array>

#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

struct ListSettings {
    Column sortColumn = Column::time;
    SortOrder sortOrder = SortOrder::ascending;
    std::array<int, kColumnCount> columnWidths = kDefaultColumnWidths;
};

// The file holds the sort column as its number 0-5 and the order as 0
// (ascending) or 1 (descending). Values a hand edit may leave out of range
// fall back to their defaults: a column outside 0-5, an order other than 0, 1
// or -1 (-1 toggles like a header click), and a width of zero or less.
ListSettings readListSettings(const SettingsFile& settings);

}  // namespace kolvi
