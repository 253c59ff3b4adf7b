#pragma once
// Starting and stopping the sound of one notification window. Every window
// plays under its own alias, formed from its handle, so several windows can
// play through the multimedia command interface at once and closing one stops
// only its own sound. The system sound player has one sound for the whole
// program: a newer sound replaces the one playing, and stopping silences it.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sound_device.h"

namespace kolvi {

// Who plays a notification window's sound, chosen once from sound/usemci:
// 0 the system sound player, 1 the multimedia commands, any other value
// plays nothing.
enum class SoundApi { systemPlayer, mci, none };
SoundApi soundApiFromSetting(int useMci);

// The window handle in decimal followed by "PL": 1234 gives "1234PL".
std::string soundAlias(std::uint64_t windowHandleValue);

// The command strings, exactly as the multimedia system receives them. The
// open command names no device type, so the device is chosen by the file's
// extension; the quotes let names with blanks through. Play has no wait,
// notify or repeat flag: it returns at once and plays once from the start.
std::string mciOpenCommand(std::string_view file, std::string_view alias);
std::string mciPlayCommand(std::string_view alias);
std::string mciStopCommand(std::string_view alias);
std::string mciCloseCommand(std::string_view alias);

// Open and play under the window's alias.
void mciPlay(SoundDevice& device, std::string_view file, std::uint64_t windowHandleValue);
// Stop and close the window's alias (harmless when it has finished or never
// opened).
void mciStop(SoundDevice& device, std::uint64_t windowHandleValue);

void startSound(SoundDevice& device, std::string_view file, SoundApi api, std::uint64_t windowHandleValue);
void stopSound(SoundDevice& device, SoundApi api, std::uint64_t windowHandleValue);

}  // namespace kolvi
