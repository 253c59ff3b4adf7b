#pragma once
// The alarm list's tool tip: how the alarm under the mouse stands today.
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "store/alarm_list.h"

namespace kolvi {

// The row texts the tip is made of, read as the alarm check reads them.
struct CountdownRow {
    bool checked = false;
    std::string_view name;  // name column
    std::string_view days;  // weekday column, e.g. "月火水木金"
    std::string_view time;  // time column, "HH:MM:SS"
};

// The tip for the row under the mouse at the moment now; "" (no tip) when
// tool tips are off or there is no row. The seconds until the alarm
// are counted within today only; a time no clock shows (hour above 23,
// minute or second above 59) gets a text of its own.
std::string countdownText(bool toolTipsOn, const std::optional<CountdownRow>& row, const LocalTime& now);
// The same for a row of the list (nullptr when the mouse is over no row).
std::string rowCountdownText(bool toolTipsOn, const AlarmRow* row, const LocalTime& now);

}  // namespace kolvi
