#pragma once
// The two ways a notification window's sound is played: command strings for
// the multimedia command interface, and the system sound player. Neither
// reports anything back; a file that cannot be played is simply not heard.
#include <string>

namespace kolvi {

class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    // One command string (UTF-8), sent without a return buffer or callback
    // window; the result is not looked at.
    virtual void mciCommand(const std::string& command) = 0;
    // Plays the file once without waiting. When the file cannot be played the
    // system's default sound is heard instead.
    virtual void playSystemSound(const std::string& file) = 0;
    // Silences whatever the system sound player is playing, whoever started it.
    virtual void stopSystemSound() = 0;
};

}  // namespace kolvi
