#pragma once
// The list's sort and column widths as remembered in the settings file.
#include <array>

#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

struct ListSettings {
    int sortKey = 3;    // the time column
    int sortOrder = 0;  // ascending
    std::array<int, kColumnCount> columnWidths = kDefaultColumnWidths;
};

// Values a hand edit may leave out of range fall back to their defaults:
// a sort key outside 0-5, a sort order other than 0, 1 or -1 (-1 toggles like
// a header click), and a width of zero or less.
ListSettings readListSettings(const SettingsFile& settings);

}  // namespace kolvi
