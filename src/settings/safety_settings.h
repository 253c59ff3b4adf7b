#pragma once
// The settings of the features that keep alarms from going unnoticed: the
// wake timer, skipped alarms, the notification window's typing guard, the
// countdown before power actions and the next-alarm line. Each is read when it
// is needed, so a hand edit takes effect without a restart. Out-of-range hand
// edits are brought into range; a negative value switches off only what is
// off by default, and otherwise gives the default, so that a typo never
// takes away a safety net.
#include <cstdint>

#include "settings/settings_file.h"

namespace kolvi {

// alarm/wake, default 0: 1 wakes the machine for the next alarm. Only the
// value 1 is on.
bool readWakeTimer(const SettingsFile& settings);
// alarm/missedgrace, seconds, default 0 (off): how late an alarm of a skip
// may still fire. Below 0 -> 0; above one day -> one day.
int readMissedGrace(const SettingsFile& settings);
// alarm/keyguard, milliseconds, default 500, 0 off: how long a new
// notification window ignores the keys. Below 0 -> 500; above 10 seconds ->
// 10 seconds, as a longer guard makes the window look dead.
std::uint32_t readKeyGuardMs(const SettingsFile& settings);
// alarm/actiondelay, seconds, default 30, 0 at once: the countdown before a
// log-off, shut-down or reboot. Below 0 -> 30; above one hour -> one hour.
int readActionDelay(const SettingsFile& settings);
// window/shownext, default 1: the next-alarm line in the tray tip and the
// status bar. Only the value 1 is on.
bool readShowNextAlarm(const SettingsFile& settings);

}  // namespace kolvi
