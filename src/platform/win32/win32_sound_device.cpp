#include "platform/win32/win32_sound_device.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/system_library.h"
#include "platform/win32/text.h"

namespace kolvi::win32 {
namespace {

using MciSendString = decltype(mciSendStringW);
using SndPlaySound = decltype(sndPlaySoundW);

void playSystem(const wchar_t* file) {
    if (auto* play = winmm().function<SndPlaySound>("sndPlaySoundW")) play(file, SND_ASYNC);
}

}  // namespace

void Win32SoundDevice::mciCommand(const std::string& command) {
    if (auto* send = winmm().function<MciSendString>("mciSendStringW")) send(widen(command).c_str(), nullptr, 0, nullptr);
}

void Win32SoundDevice::playSystemSound(const std::string& file) { playSystem(widen(file).c_str()); }

void Win32SoundDevice::stopSystemSound() { playSystem(nullptr); }

}  // namespace kolvi::win32
