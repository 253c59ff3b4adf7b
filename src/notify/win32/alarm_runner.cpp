#include "notify/win32/alarm_runner.h"

#include <iterator>
#include <optional>
#include <vector>

#include "command/control_command.h"
#include "command/power_countdown.h"
#include "command/win32/power_countdown_form.h"
#include "settings/safety_settings.h"
#include "store/alarm_record.h"
#include "notify/win32/sound_form.h"
#include "schedule/alarm_action.h"
#include "texts/alarm_texts.h"
#include "texts/common_texts.h"

namespace kolvi {

AlarmRunner::AlarmRunner(AlarmRunnerServices services) : services_(std::move(services)) {}

AlarmRunner::~AlarmRunner() { closeAll(); }

void AlarmRunner::runAlarm(const std::string& line, AlarmMode mode, HWND owner, AlarmTarget* target) {
    closing_.clear();
    closingCountdowns_.clear();
    const AlarmAction action = decideAlarmAction(line, mode, services_.settings, &isControlCommand);
    switch (action.kind) {
    case AlarmActionKind::message:
        if (owner != nullptr) SetForegroundWindow(owner);
        if (action.showMessageBox) services_.desktop.showAlarmMessage(action.name);
        break;
    case AlarmActionKind::controlCommand:
        runCommand(action.file, line);
        break;
    case AlarmActionKind::shellOpen:
        services_.desktop.openWithShell(action.file);
        break;
    case AlarmActionKind::soundWindow: {
        SoundForm::Services services{
            services_.sound,
            services_.clock,
            services_.settings,
            target != nullptr ? &target->alarms() : nullptr,
            [target](const std::string& extension) {
                if (target != nullptr) target->addExtension(extension);
            },
            [this] { services_.desktop.showInformation(kProgramTitle, kNoFileToExtendText); },
            {}};
        if (action.mode == AlarmMode::fire) {
            // A fired alarm's window outlives this call; it is forgotten once
            // it has closed.
            services.closed = [this](SoundForm& form) { window_Closed(form); };
            const HWND previous = windows_.empty() ? nullptr : windows_.back()->hwnd();
            windows_.push_back(std::make_unique<SoundForm>(std::move(services)));
            SoundForm& form = *windows_.back();
            form.playSound(action.file, action.message, action.mode, action.soundApi, line);
            if (form.hwnd() == nullptr) {
                if (!windows_.empty() && windows_.back().get() == &form) windows_.pop_back();  // could not be made
            } else if (previous != nullptr) {
                cascade(form.hwnd(), previous);
            }
        } else {
            SoundForm preview(std::move(services));
            preview.playSound(action.file, action.message, action.mode, action.soundApi, line, owner, this);
        }
        break;
    }
    }
}

// Each new window opens a caption lower and further right than the last one
// still open, so that none hides another; back to the first place when that
// would leave the work area.
void AlarmRunner::cascade(HWND window, HWND previous) {
    RECT last{}, own{};
    GetWindowRect(previous, &last);
    GetWindowRect(window, &own);
    const int step = GetSystemMetricsForDpi(SM_CYCAPTION, GetDpiForWindow(window)) +
                     GetSystemMetricsForDpi(SM_CYFRAME, GetDpiForWindow(window));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(previous, MONITOR_DEFAULTTONEAREST), &monitor);
    POINT to{last.left + step, last.top + step};
    if (to.x + (own.right - own.left) > monitor.rcWork.right || to.y + (own.bottom - own.top) > monitor.rcWork.bottom) {
        return;  // stays where the dialog centred itself
    }
    SetWindowPos(window, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Logging off, shutting down and restarting wait behind a countdown the user
// can cancel (a preview too: it is the same action); everything else runs at
// once.
void AlarmRunner::runCommand(const std::string& command, const std::string& line) {
    std::optional<PowerCountdown> countdown =
        guardPowerCommand(command, lineField(line, Field::name), readActionDelay(services_.settings));
    if (!countdown) {
        runControlCommand(command, services_.system, services_.exitProgram);
        return;
    }
    countdowns_.push_back(std::make_unique<PowerCountdownForm>(std::move(*countdown), services_.system,
                                                               [this](PowerCountdownForm& form) { countdown_Closed(form); }));
    if (!countdowns_.back()->show()) countdowns_.pop_back();
}

void AlarmRunner::countdown_Closed(PowerCountdownForm& form) {
    for (auto it = countdowns_.begin(); it != countdowns_.end(); ++it) {
        if (it->get() == &form) {
            closingCountdowns_.splice(closingCountdowns_.end(), countdowns_, it);
            return;
        }
    }
}

const PowerCountdownForm* AlarmRunner::countdown(std::size_t i) const {
    if (i >= countdowns_.size()) return nullptr;
    return std::next(countdowns_.begin(), static_cast<std::ptrdiff_t>(i))->get();
}

void AlarmRunner::window_Closed(SoundForm& form) {
    // Called from inside the window's own procedure: keep the object alive
    // until that has returned.
    for (auto it = windows_.begin(); it != windows_.end(); ++it) {
        if (it->get() == &form) {
            closing_.splice(closing_.end(), windows_, it);
            return;
        }
    }
}

void AlarmRunner::closeAll() {
    // Closing a window takes it out of its list, so walk copies.
    std::vector<SoundForm*> open;
    for (const auto& form : windows_) open.push_back(form.get());
    for (SoundForm* form : open) form->unloadWithoutExtension();
    std::vector<PowerCountdownForm*> counting;
    for (const auto& form : countdowns_) counting.push_back(form.get());
    for (PowerCountdownForm* form : counting) form->cancel();
}

const SoundForm* AlarmRunner::window(std::size_t i) const {
    if (i >= windows_.size()) return nullptr;
    return std::next(windows_.begin(), static_cast<std::ptrdiff_t>(i))->get();
}

bool AlarmRunner::preTranslateMessage(MSG& message) {
    closing_.clear();
    closingCountdowns_.clear();
    for (const auto& form : countdowns_) {
        const HWND dialog = form->hwnd();
        if (dialog != nullptr && (message.hwnd == dialog || IsChild(dialog, message.hwnd))) {
            return IsDialogMessageW(dialog, &message) != 0;
        }
    }
    for (const auto& form : windows_) {
        const HWND dialog = form->hwnd();
        if (dialog == nullptr || (message.hwnd != dialog && !IsChild(dialog, message.hwnd))) continue;
        // Keys typed into another program just before the window opened
        // must not close or extend it.
        if (form->ignoresKey(message)) return true;
        // The window sees typed characters before its button does.
        if (message.message == WM_CHAR) {
            form->form_KeyPress(static_cast<wchar_t>(message.wParam));
            return true;
        }
        return IsDialogMessageW(dialog, &message) != 0;
    }
    return false;
}

}  // namespace kolvi
