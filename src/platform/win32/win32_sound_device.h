#pragma once
// The system's sound player and multimedia command interface, in their wide
// forms so that file names outside the ANSI code page play too.
#include "platform/sound_device.h"

namespace kolvi::win32 {

class Win32SoundDevice final : public SoundDevice {
public:
    void mciCommand(const std::string& command) override;
    void playSystemSound(const std::string& file) override;
    void stopSystemSound() override;
};

}  // namespace kolvi::win32
