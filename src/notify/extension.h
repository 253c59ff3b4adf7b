#pragma once
// Extending an alarm from its notification window, and the window's own
// decisions: a digit key 1-9 closes an alarm's window and adds an extension
// alarm, due the digit's span after the moment the window goes away.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/sound_device.h"
#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

inline constexpr std::string_view kExtensionNameSuffix = "の延長";
// Information icon, titled with the program title: the file the extension
// would go into was closed while the window was open.
inline constexpr std::string_view kNoFileToExtendText = "アラームファイルが開かれていないため、延長できません。";

// Window modes: an alarm that fired, or a preview. Every mode other than
// kAlarmFired behaves as a preview.
inline constexpr int kAlarmFired = 0;
inline constexpr int kPreview = 1;

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
// The extension of a fired alarm's line: its name followed by "の延長", every
// weekday, the due time with two digits per number, delete-after-run on;
// the switch (field 0) and the file (field 12), and any fields after the
// fourteenth, stay as they were. nullopt for a line of fewer than fourteen
// fields, which has nothing to extend.
std::optional<std::string> buildExtensionLine(std::string_view firedLine, const LocalTime& due);

// What the window's going away asks of its owner.
enum class UnloadAction {
    nothing,
    addExtension,    // add `line` to the target list and save the alarm file
    tellNoFileOpen,  // show kNoFileToExtendText; add nothing
};
struct UnloadOutcome {
    UnloadAction action = UnloadAction::nothing;
    std::string line;
    friend bool operator==(const UnloadOutcome&, const UnloadOutcome&) = default;
};

// The state of one notification window from the moment its sound starts until
// it is gone. The window itself only turns its events into these calls.
class NotificationWindowModel {
public:
    NotificationWindowModel(int mode, int apiType, std::uint64_t windowHandleValue, std::string alarmLine);

    bool isPreview() const { return mode_ != kAlarmFired; }
    // The line about the digit keys is shown for alarms only.
    bool hintVisible() const { return !isPreview(); }
    // A preview is shown modally; an alarm's window is modeless.
    bool modal() const { return isPreview(); }

    // Starts the window's sound (before it is shown).
    void startSound(SoundDevice& device, std::string_view file) const;

    // A character typed in the window. True when the window is to close now
    // (a digit 1-9 in an alarm's window, whose span is read at this moment);
    // false leaves the key to the controls. Once unloaded, nothing is taken.
    bool keyPress(char32_t key, const SettingsFile& settings);
    // The close button, Enter, Escape, the close box, or the program ending:
    // the window closes without an extension.
    void closeWithoutExtension() { span_ = {}; }
    const ExtensionSpan& span() const { return span_; }

    // The window is going away, however it was closed: stops its sound and
    // says whether an extension is to be added. The clock is read here, as the
    // extension counts from this moment. target is the list an extension goes
    // into (null when there is none, as for a preview from the editor); when
    // it has no file open, nothing is added and the user is told why. Only the
    // first call acts; later ones return `nothing`.
    UnloadOutcome unload(SoundDevice& device, const Clock& clock, const AlarmList* target);

private:
    int mode_;
    int apiType_;
    std::uint64_t windowHandleValue_;
    std::string alarmLine_;
    ExtensionSpan span_;
    bool unloaded_ = false;
};

}  // namespace kolvi
