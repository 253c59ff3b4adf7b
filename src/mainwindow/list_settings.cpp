#include "mainwindow/list_settings.h"

#include <string>

namespace kolvi {

ListSettings readListSettings(const SettingsFile& settings) {
    ListSettings result;
    const int key = settings.readInt("list", "sortkey", result.sortKey);
    if (key >= 0 && key < kColumnCount) result.sortKey = key;
    const int order = settings.readInt("list", "sortorder", result.sortOrder);
    result.sortOrder = (order == 1 || order == -1) ? order : 0;
    for (int c = 0; c < kColumnCount; ++c) {
        const auto index = static_cast<std::size_t>(c);
        const int width =
            settings.readInt("list", "colwidth" + std::to_string(c + 1), kDefaultColumnWidths[index]);
        result.columnWidths[index] = width > 0 ? width : kDefaultColumnWidths[index];
    }
    return result;
}

}  // namespace kolvi
