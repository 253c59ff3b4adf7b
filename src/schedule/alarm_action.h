#pragma once
// The alarm action's choice: what carrying out one alarm line means, decided
// from its file field alone. The window side only performs the decision.
#include <functional>
#include <string>
#include <string_view>

#include "settings/settings_file.h"

namespace kolvi {

inline constexpr int kAlarmModeFire = 0;
inline constexpr int kAlarmModePreview = 1;

enum class AlarmActionKind {
    message,         // no file: the alarm's name in a message box
    controlCommand,  // a control command word
    soundWindow,     // a sound file: a notification window plays it
    shellOpen,       // anything else: opened with its associated program
};

struct AlarmAction {
    AlarmActionKind kind = AlarmActionKind::message;

    // message: bring the owner window to the front, then, only when
    // showMessageBox, show name in an information box titled with the
    // program's name. An alarm without a name only comes to the front.
    bool showMessageBox = false;
    std::string name;

    // controlCommand: the command text to carry out; soundWindow: the sound
    // file; shellOpen: the file to open with the verb "Open".
    std::string file;

    // soundWindow: the rest of what the new notification window's playSound
    // takes (besides the file, the list and the alarm line).
    std::string title;
    std::string message;
    int mode = kAlarmModeFire;
    int apiType = 1;  // 0 the system sound player, 1 the multimedia commands

    friend bool operator==(const AlarmAction&, const AlarmAction&) = default;
};

// True when the text is one of the control command words (matching only,
// nothing is carried out).
using ControlCommandTest = std::function<bool(std::string_view text)>;

// line: the alarm line (its name is field 1, its file field 12; missing fields
// count as empty). mode: kAlarmModeFire or kAlarmModePreview (any other value
// gives a sound window without title or message). The sound settings are read
// only when the file is neither empty nor a control command, and afresh at
// every call, so a hand edit takes effect at once.
AlarmAction decideAlarmAction(std::string_view line, int mode, const SettingsFile& settings,
                              const ControlCommandTest& isControlCommand);

// The extension the sound types are matched against: the last three
// characters of the file text (fewer if it is shorter), full-width letters and
// digits made half-width, then lower case. "ALARM.WAV" gives "wav", "x.au"
// gives ".au", "x.aiff" gives "iff".
std::string soundExtension(std::string_view file);

// True when one of the comma-separated elements of listText equals item
// exactly (case and blanks count). An empty list holds nothing, not even "".
bool listContains(std::string_view listText, std::string_view item);

}  // namespace kolvi
