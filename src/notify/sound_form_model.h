#pragma once
// The notification window's own decisions, from the moment its sound starts
// until it is gone. SoundForm only turns its events into these calls.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "notify/alarm_mode.h"
#include "notify/extension.h"
#include "notify/sound_commands.h"
#include "platform/clock.h"
#include "platform/sound_device.h"
#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

// What the window's going away asks of its owner.
enum class UnloadAction {
    nothing,
    addExtension,    // `line` was handed to the target list and saved
    tellNoFileOpen,  // show kNoFileToExtendText; add nothing
};
struct UnloadOutcome {
    UnloadAction action = UnloadAction::nothing;
    std::string line;
    friend bool operator==(const UnloadOutcome&, const UnloadOutcome&) = default;
};

// The state of one notification window from the moment its sound starts until
// it is gone. The window itself only turns its events into these calls.
class SoundFormModel {
public:
    SoundFormModel(AlarmMode mode, SoundApi api, std::uint64_t windowHandleValue, std::string alarmLine);

    bool isPreview() const { return mode_ == AlarmMode::preview; }
    // The line about the digit keys is shown for alarms only.
    bool hintVisible() const { return !isPreview(); }
    // A preview is shown modally; an alarm's window is modeless.
    bool modal() const { return isPreview(); }

    // The typing guard. The window appeared at shownAtMs, on a monotonic
    // millisecond count the caller keeps; for guardMs after that it ignores
    // the keys that close or extend it, so that keys typed into another
    // program just before it opened do neither. 0 switches the guard off.
    void setShown(std::uint64_t shownAtMs, std::uint32_t guardMs);
    // True when the key pressed at atMs must be dropped before it reaches
    // keyPress or the button: a digit, Enter (U'\r'), Escape (U'\x1b') or a
    // space (it presses the focused button just as Enter does), within the
    // guard. The mouse is never guarded.
    bool ignoresKey(char32_t key, std::uint64_t atMs) const;

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

    // The window is going away, however it was closed: says whether an
    // extension is to be added, and stops its sound. The clock is read here,
    // as the extension counts from this moment. target is the list an
    // extension goes into (null when there is none, as for a preview from the
    // editor); when it has no file open, nothing is added and the user is to
    // be told why. An extension goes to addExtension (which saves it) before
    // the sound stops: stopping can take a noticeable while, and the extension
    // the user asked for must not wait on it. Only the first call acts; later
    // ones return `nothing`.
    UnloadOutcome unload(SoundDevice& device, const Clock& clock, const AlarmList* target,
                         const std::function<void(const std::string& line)>& addExtension);

private:
    AlarmMode mode_;
    SoundApi api_;
    std::uint64_t windowHandleValue_;
    std::string alarmLine_;
    ExtensionSpan span_;
    bool unloaded_ = false;
    std::uint64_t shownAtMs_ = 0;
    std::uint32_t guardMs_ = 0;
};

}  // namespace kolvi
