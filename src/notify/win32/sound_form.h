#pragma once
// The notification window: one message line, the hint about the digit keys,
// and the sound that plays while it is open. Its decisions are made by
// SoundFormModel; this class is the dialog around it.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "notify/alarm_action.h"
#include "notify/alarm_audio.h"
#include "notify/sound_form_model.h"
#include "platform/clock.h"
#include "platform/sound_device.h"
#include "platform/win32/app_icon.h"
#include "platform/win32/control_subclass.h"
#include "platform/win32/dialog_base.h"
#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

class SoundForm final : public win32::DialogBase {
public:
    struct Services {
        SoundDevice& sound;
        const Clock& clock;
        const SettingsFile& settings;
        const AlarmList* target;  // receives an extension; null for none
        // Adds an extension line to the target list and saves the file.
        std::function<void(const std::string& line)> addExtension;
        // Says that no file is open to receive an extension.
        std::function<void()> tellNoFileOpen;
        // The window is gone; the owner may now destroy this object.
        std::function<void(SoundForm&)> closed;
        // Told when the sound starts and stops; none when null.
        AlarmAudio* audio = nullptr;
    };

    explicit SoundForm(Services services);
    ~SoundForm() override;

    // Starts the sound and shows the window. An alarm's window (fire) is
    // modeless, has no owner and its own taskbar button: this returns at
    // once. A preview is modal to owner, which stays disabled while it plays:
    // this returns when it has closed; filter sees the messages of its loop.
    // action: a sound window's decision; alarmLine: the line it carries out.
    void playSound(const AlarmAction& action, const std::string& alarmLine, HWND owner = nullptr,
                   win32::MessageFilter* filter = nullptr);

    // A typed character, also when a control of the window has the focus.
    void form_KeyPress(wchar_t key);
    // Closes the window without an extension (the program is ending).
    void unloadWithoutExtension();
    // True for a key message the typing guard drops: a digit, Enter, Escape
    // or space too soon after the window opened.
    bool ignoresKey(const MSG& message) const;

private:
    INT_PTR form_Load() override;
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void form_Closed() override;
    void stopButton_Click();
    void form_Unload();
    std::optional<LRESULT> stopButton_Message(UINT message, WPARAM wParam);

    Services services_;
    std::optional<SoundFormModel> model_;
    AlarmAction action_;
    std::string alarmLine_;
    win32::ControlSubclass stopButton_;
    win32::WindowIcons icons_;
    bool soundTold_ = false;  // services_.audio knows the sound started
};

}  // namespace kolvi
