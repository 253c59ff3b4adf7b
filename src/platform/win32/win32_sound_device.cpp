#include "platform/win32/win32_sound_device.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/text.h"

namespace kolvi::win32 {

void Win32SoundDevice::mciCommand(const std::string& command) {
    mciSendStringW(widen(command).c_str(), nullptr, 0, nullptr);
}

void Win32SoundDevice::playSystemSound(const std::string& file) { sndPlaySoundW(widen(file).c_str(), SND_ASYNC); }

void Win32SoundDevice::stopSystemSound() { sndPlaySoundW(nullptr, SND_ASYNC); }

}  // namespace kolvi::win32
