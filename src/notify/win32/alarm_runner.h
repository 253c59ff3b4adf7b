#pragma once
// Carries out alarm lines for any owner window: message boxes, control
// commands, the shell, and notification windows with their sound. Owns the
// notification windows of fired alarms and routes their keys from whatever
// message loop is running.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <iterator>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "notify/alarm_mode.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/sound_device.h"
#include "platform/system_actions.h"
#include "platform/win32/dialog_base.h"
#include "settings/settings_file.h"
#include "store/alarm_list.h"

namespace kolvi {

class AlarmAudio;
class SoundForm;
class PowerCountdownForm;
struct AlarmAction;
struct ControlCommand;

// Dialogs that outlive the call that opened them. A dialog reports its close
// from inside its own procedure, so it is kept until that has returned: the
// closed ones are dropped at the next dropClosed().
template <typename Dialog>
class OwnedDialogs {
public:
    Dialog& add(std::unique_ptr<Dialog> dialog) {
        open_.push_back(std::move(dialog));
        return *open_.back();
    }
    void closed(const Dialog& dialog) {
        for (auto it = open_.begin(); it != open_.end(); ++it) {
            if (it->get() == &dialog) {
                closing_.splice(closing_.end(), open_, it);
                return;
            }
        }
    }
    void dropClosed() { closing_.clear(); }
    std::size_t size() const { return open_.size(); }
    bool empty() const { return open_.empty(); }
    const Dialog* at(std::size_t i) const {
        return i < open_.size() ? std::next(open_.begin(), static_cast<std::ptrdiff_t>(i))->get() : nullptr;
    }
    Dialog& back() const { return *open_.back(); }
    template <typename Test>
    Dialog* find(Test&& test) const {
        for (const auto& dialog : open_) {
            if (test(*dialog)) return dialog.get();
        }
        return nullptr;
    }
    // Walks a copy, so that a dialog may close (and leave the list) meanwhile.
    template <typename Body>
    void forEach(Body&& body) const {
        std::vector<Dialog*> open;
        for (const auto& dialog : open_) open.push_back(dialog.get());
        for (Dialog* dialog : open) body(*dialog);
    }

private:
    std::list<std::unique_ptr<Dialog>> open_, closing_;
};

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
    // Volume, fade-in and the "will it ring?" reason of the windows' sounds; none when null.
    AlarmAudio* audio = nullptr;
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
    const SoundForm* window(std::size_t i) const { return windows_.at(i); }
    std::size_t openCountdowns() const { return countdowns_.size(); }
    const PowerCountdownForm* countdown(std::size_t i) const { return countdowns_.at(i); }

private:
    void showSoundWindow(const AlarmAction& action, const std::string& line, HWND owner, AlarmTarget* target);
    void runCommand(const ControlCommand& command, const std::string& line);
    static void cascade(HWND window, HWND previous);

    AlarmRunnerServices services_;
    OwnedDialogs<SoundForm> windows_;
    OwnedDialogs<PowerCountdownForm> countdowns_;
};

}  // namespace kolvi
