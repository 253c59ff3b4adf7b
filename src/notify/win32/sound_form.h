#pragma once
// The notification window: one message line, the hint about the digit keys,
// and the sound that plays while it is open. Its decisions are made by
// NotificationWindowModel; this class is the dialog around it.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "notify/extension.h"
#include "platform/clock.h"
#include "platform/sound_device.h"
#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

class SoundForm {
public:
    struct Services {
        SoundDevice& sound;
        const Clock& clock;
        const SettingsFile& settings;
        const AlarmList* target;  // receives an extension; null for none
        // Adds an extension line to the list and saves the file.
        std::function<void(const std::string& line)> addExtension;
        // Says that no file is open to receive an extension.
        std::function<void()> tellNoFileOpen;
        // The window is gone; the owner may now destroy this object.
        std::function<void(SoundForm&)> closed;
        // The owner of a preview, disabled while it plays; alarms' windows
        // have none, so that each keeps its own taskbar button.
        HWND owner = nullptr;
    };

    explicit SoundForm(Services services);
    SoundForm(const SoundForm&) = delete;
    SoundForm& operator=(const SoundForm&) = delete;
    ~SoundForm();

    // Starts the sound and shows the window: returns at once for an alarm
    // (mode 0), when the window has closed for a preview.
    void playSound(const std::string& fileName, const std::string& titleBar, const std::string& message, int mode,
                   int apiTypeSetting, const std::string& dataText);

    HWND hwnd() const { return hwnd_; }
    // A typed character, also when a control of the window has the focus.
    void form_KeyPress(wchar_t key);
    // Closes the window without an extension (the program is ending).
    void unloadWithoutExtension();

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
    INT_PTR form_Load(HWND hwnd);
    void stopButton_Click();
    void form_Unload();
    void closeWindow();

    Services services_;
    HWND hwnd_ = nullptr;
    std::optional<NotificationWindowModel> model_;
    std::string fileName_, message_, dataText_;
    int mode_ = 0;
    int apiType_ = 1;
};

}  // namespace kolvi
