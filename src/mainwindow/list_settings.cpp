#include "mainwindow/list_settings.h"

#include <string>

namespace kolvi {

ListSettings readListSettings(const SettingsFile& settings) {
    ListSettings result;
    const int column = settings.readInt("list", "sortkey", static_cast<int>(result.sortColumn));
    if (column >= 0 && column < kColumnCount) result.sortColumn = static_cast<Column>(column);
    const int order = settings.readInt("list", "sortorder", 0);
    if (order == 1) result.sortOrder = SortOrder::descending;
    if (order == -1) result.sortOrder = SortOrder::toggle;
    for (int c = 0; c < kColumnCount; ++c) {
        const auto index = static_cast<std::size_t>(c);
        const int width =
            settings.readInt("list", "colwidth" + std::to_string(c + 1), kDefaultColumnWidths[index]);
        result.columnWidths[index] = width > 0 ? width : kDefaultColumnWidths[index];
    }
    return result;
}

}  // namespace kolvi
