#pragma once
// The system's default sound output and this program's own share of it:
// enough to tell whether an alarm will be heard, to make it heard, and to
// let it grow louder gently.
#include <optional>

namespace kolvi {

struct OutputState {
    bool device = true;  // false: the system has no output device at all
    bool muted = false;
    float level = 1.0f;  // the master volume, 0.0-1.0
    friend bool operator==(const OutputState&, const OutputState&) = default;
};

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // The default output device's state; nullopt when the system could not
    // be asked (the answer is unknown, not "silent").
    virtual std::optional<OutputState> defaultOutput() = 0;
    // Sets the default device's master level and mute; false when refused.
    virtual bool setOutput(float level, bool muted) = 0;
    // Sets the volume of this program's own audio session (0.0-1.0); other
    // programs keep theirs. False when refused.
    virtual bool setSessionVolume(float level) = 0;
};

}  // namespace kolvi
