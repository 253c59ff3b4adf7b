#pragma once
// The system actions an alarm's control command may ask for. Nothing here
// waits for the action; log off, power off and reboot are requested without
// forcing. Tests always use a fake: the real ones end the session.
#include <vector>

namespace kolvi {

// One step of typed input, already fully parsed.
struct KeyInput {
    enum class Kind {
        character,   // a Unicode character typed as itself (code point in `code`)
        virtualKey,  // a virtual-key code in `code`
    };
    Kind kind = Kind::character;
    unsigned code = 0;
    bool keyUp = false;  // for virtual keys: press (false) or release (true)
    friend bool operator==(const KeyInput&, const KeyInput&) = default;
};

class SystemActions {
public:
    virtual ~SystemActions() = default;
    virtual void lockWorkStation() = 0;
    virtual void logOff() = 0;
    virtual void powerOff() = 0;
    virtual void reboot() = 0;
    // Sends the keys to whatever window has the keyboard focus.
    virtual void typeKeys(const std::vector<KeyInput>& keys) = 0;
};

}  // namespace kolvi
