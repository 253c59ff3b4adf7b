#pragma once
// Extending an alarm from its notification window: a digit key 1-9 closes an
// alarm's window and adds an extension alarm, due the digit's span after the
// moment the window goes away.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "settings/settings_file.h"

namespace kolvi {

struct ExtensionSpan {
    std::int16_t hours = 0;
    std::int16_t minutes = 0;
    std::int16_t seconds = 0;
    friend bool operator==(const ExtensionSpan&, const ExtensionSpan&) = default;
};

// "key1" to "key9" in the settings' "alarm" section.
std::string extensionKeyName(int digit);
// "00:0N:00": N minutes.
std::string defaultExtensionText(int digit);
// Exactly three ":"-separated integers (blanks around each allowed, an
// optional sign) in the 16-bit range; nullopt for anything else.
std::optional<ExtensionSpan> parseExtensionSpan(std::string_view text);
// The span of a digit key 1-9, read afresh from the settings. A value that
// does not parse gives the digit's default, as a hand-edited mistake should
// not turn the key into a mere close button or a surprise.
ExtensionSpan readExtensionSpan(const SettingsFile& settings, int digit);

// Only a span whose three numbers add up to more than 0 extends anything,
// even when its parts would amount to a later time (1:-30:0 adds nothing).
bool extendsAlarm(const ExtensionSpan& span);
// now plus the span, carried and borrowed as a clock time and wrapped past
// midnight in either direction; the weekday follows the days crossed.
LocalTime extendedTime(const LocalTime& now, const ExtensionSpan& span);
// The extension of a fired alarm's line (a row's tag, so a line the store
// formatted): its name followed by "の延長", every weekday, the due time,
// delete-after-run on; the switch and the file stay as they were. Formatted
// as the store formats every line. nullopt for a line that yields no record,
// which has nothing to extend.
std::optional<std::string> buildExtensionLine(std::string_view firedLine, const LocalTime& due);

}  // namespace kolvi
