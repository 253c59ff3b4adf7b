#pragma once
#include <windows.h>

#include <optional>

struct ISimpleAudioVolume;

#include "platform/audio_output.h"

namespace kolvi::win32 {

// The default render device through Core Audio, which is loaded (with COM)
// at the first call only. Every call asks for the default device afresh, as
// the user may plug in or switch devices at any time.
class Win32AudioOutput final : public AudioOutput {
public:
    Win32AudioOutput() = default;
    Win32AudioOutput(const Win32AudioOutput&) = delete;
    Win32AudioOutput& operator=(const Win32AudioOutput&) = delete;
    ~Win32AudioOutput() override;
    std::optional<OutputState> defaultOutput() override;
    bool setOutput(float level, bool muted) override;
    bool setSessionVolume(float level) override;
    // The volume of the program's own session; nullopt when it cannot be read.
    std::optional<float> sessionVolume();

private:
    // The session's volume control, kept once made: some systems hand out
    // a new default session with each request, and only the one kept is
    // the program's own.
    ISimpleAudioVolume* sessionControl();
    ISimpleAudioVolume* session_ = nullptr;
};

}  // namespace kolvi::win32
