#pragma once
// The alarm action's choice: what carrying out one alarm line means, decided
// from its file field alone. The window side only performs the decision.
#include <optional>
#include <string>
#include <string_view>

#include "command/control_command.h"
#include "notify/alarm_mode.h"
#include "notify/sound_commands.h"
#include "settings/settings_file.h"

namespace kolvi {

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

    // soundWindow: the sound file; shellOpen: the file to open with the verb
    // "Open"; controlCommand: the word as written.
    std::string file;

    // soundWindow: the window's message line, how it plays and with what.
    std::string message;
    AlarmMode mode = AlarmMode::fire;
    SoundApi soundApi = SoundApi::mci;

    // controlCommand: the word, parsed.
    std::optional<ControlCommand> command;

    friend bool operator==(const AlarmAction&, const AlarmAction&) = default;
};

// line: the alarm line (its name is field 1, its file field 12; missing fields
// count as empty). The sound settings are read only when the file is neither
// empty nor a control command, and afresh at every call, so a hand edit takes
// effect at once.
AlarmAction decideAlarmAction(std::string_view line, AlarmMode mode, const SettingsFile& settings);

// The extension the sound types are matched against: the last three
// characters of the file text (fewer if it is shorter), full-width letters and
// digits made half-width, then lower case. "ALARM.WAV" gives "wav", "x.au"
// gives ".au", "x.aiff" gives "iff".
std::string soundExtension(std::string_view file);

}  // namespace kolvi
