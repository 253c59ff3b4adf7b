#pragma once
// Alarm lines, open lists and moments for the schedule tests.
#include <string>
#include <vector>

#include "platform/clock.h"
#include "store/alarm_list.h"

namespace kolvi::test {

inline constexpr int kSunday = 0, kMonday = 1, kTuesday = 2, kWednesday = 3, kSaturday = 6;

// days: seven flags, Sunday first ("0111110" is Monday to Friday).
inline std::string alarmLine(const std::string& name, const std::string& time, const std::string& days = "1111111",
                             bool deleteAfterRun = false) {
    std::string line = "1," + name + ",";
    for (const char day : days) line += std::string(1, day) + ",";
    return line + time.substr(0, 2) + "," + time.substr(3, 2) + "," + time.substr(6, 2) + ",," +
           (deleteAfterRun ? "1" : "0");
}

// "HH:MM:SS" on that weekday of the week starting Sunday 1970-01-04 (day 3),
// or of a later week.
inline LocalTime at(int weekday, const std::string& time, int week = 0) {
    return {weekday, std::stoi(time.substr(0, 2)), std::stoi(time.substr(3, 2)), std::stoi(time.substr(6, 2)),
            3 + weekday + 7 * week};
}

// A list with a file open and these rows in this order, none current.
inline AlarmList openList(const std::vector<std::string>& lines) {
    AlarmList list;
    list.setTag("test.alm");
    for (const std::string& line : lines) list.addAlarmLine(line);
    list.clearCurrent();
    return list;
}

}  // namespace kolvi::test
