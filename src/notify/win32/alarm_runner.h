#pragma once
// Carries out alarm lines for any owner window: message boxes, control
// commands, the shell, and notification windows with their sound. Owns the
// notification windows of fired alarms and routes their keys from whatever
// message loop is running.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <string>

#include "notify/alarm_mode.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/sound_device.h"
#include "platform/system_actions.h"
#include "platform/win32/dialog_base.h"
#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

class SoundForm;
class PowerCountdownForm;

// The list a fired alarm's extension goes into.
class AlarmTarget {
public:
    virtual ~AlarmTarget() = default;
    virtual const AlarmList& alarms() const = 0;
    // Adds the extension line to the list and saves the file.
    virtual void addExtension(const std::string& line) = 0;
};

struct AlarmRunnerServices {
    SoundDevice& sound;
    const Clock& clock;
    const SettingsFile& settings;
    Desktop& desktop;
    SystemActions& system;
    // The control command "exit".
    std::function<void()> exitProgram;
};

class AlarmRunner final : public win32::MessageFilter {
public:
    explicit AlarmRunner(AlarmRunnerServices services);
    AlarmRunner(const AlarmRunner&) = delete;
    AlarmRunner& operator=(const AlarmRunner&) = delete;
    ~AlarmRunner() override;

    // Carries out one alarm line. owner: the window a preview is modal to
    // (disabled while it plays) and that a message box belongs to. target:
    // where a fired alarm's extension goes; null for none (the window then
    // says that no file is open to extend).
    void runAlarm(const std::string& line, AlarmMode mode, HWND owner, AlarmTarget* target);

    // Digits, Enter and Escape for the notification windows, and their
    // dialog navigation; true when the message was used.
    bool preTranslateMessage(MSG& message) override;
    // Every notification window closes without an extension and every power
    // countdown is cancelled (the program is ending).
    void closeAll();

    std::size_t openWindows() const { return windows_.size(); }
    const SoundForm* window(std::size_t i) const;
    std::size_t openCountdowns() const { return countdowns_.size(); }
    const PowerCountdownForm* countdown(std::size_t i) const;

private:
    void window_Closed(SoundForm& form);
    void countdown_Closed(PowerCountdownForm& form);
    void runCommand(const std::string& command, const std::string& line);
    static void cascade(HWND window, HWND previous);

    AlarmRunnerServices services_;
    std::list<std::unique_ptr<SoundForm>> windows_;
    std::list<std::unique_ptr<PowerCountdownForm>> countdowns_;
    // Closed windows are dropped only once their procedure has returned.
    std::list<std::unique_ptr<SoundForm>> closing_;
    std::list<std::unique_ptr<PowerCountdownForm>> closingCountdowns_;
};

}  // namespace kolvi
