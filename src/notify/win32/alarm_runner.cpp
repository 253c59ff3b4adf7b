#include "notify/win32/alarm_runner.h"

#include <optional>

#include "command/control_command.h"
#include "command/power_countdown.h"
#include "command/win32/power_countdown_form.h"
#include "notify/alarm_action.h"
#include "notify/win32/sound_form.h"
#include "settings/safety_settings.h"
#include "store/alarm_record.h"
#include "texts/alarm_texts.h"
#include "texts/common_texts.h"

namespace kolvi {

AlarmRunner::AlarmRunner(AlarmRunnerServices services) : services_(std::move(services)) {}

AlarmRunner::~AlarmRunner() { closeAll(); }

void AlarmRunner::runAlarm(const std::string& line, AlarmMode mode, HWND owner, AlarmTarget* target) {
    windows_.dropClosed();
    countdowns_.dropClosed();
    const AlarmAction action = decideAlarmAction(line, mode, services_.settings);
    switch (action.kind) {
    case AlarmActionKind::message:
        if (owner != nullptr) SetForegroundWindow(owner);
        if (action.showMessageBox) services_.desktop.showAlarmMessage(action.name);
        break;
    case AlarmActionKind::controlCommand:
        runCommand(*action.command, line);
        break;
    case AlarmActionKind::shellOpen:
        services_.desktop.openWithShell(action.file);
        break;
    case AlarmActionKind::soundWindow:
        showSoundWindow(action, line, owner, target);
        break;
    }
}

void AlarmRunner::showSoundWindow(const AlarmAction& action, const std::string& line, HWND owner, AlarmTarget* target) {
    SoundForm::Services services{services_.sound,
                                 services_.clock,
                                 services_.settings,
                                 target != nullptr ? &target->alarms() : nullptr,
                                 [target](const std::string& extension) {
                                     if (target != nullptr) target->addExtension(extension);
                                 },
                                 [this] { services_.desktop.showInformation(kProgramTitle, kNoFileToExtendText); },
                                 {},
                                 services_.audio};
    if (action.mode == AlarmMode::preview) {
        SoundForm preview(std::move(services));
        preview.playSound(action, line, owner, this);
        return;
    }
    // A fired alarm's window outlives this call; it is forgotten once it has closed.
    services.closed = [this](SoundForm& form) { windows_.closed(form); };
    const HWND previous = windows_.empty() ? nullptr : windows_.back().hwnd();
    SoundForm& form = windows_.add(std::make_unique<SoundForm>(std::move(services)));
    form.playSound(action, line);
    if (form.hwnd() == nullptr) {
        windows_.closed(form);  // could not be made
    } else if (previous != nullptr) {
        cascade(form.hwnd(), previous);
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
void AlarmRunner::runCommand(const ControlCommand& command, const std::string& line) {
    std::optional<PowerCountdown> countdown =
        guardPowerCommand(command, lineField(line, Field::name), readActionDelay(services_.settings));
    if (!countdown) {
        runControlCommand(command, services_.system, services_.exitProgram);
        return;
    }
    PowerCountdownForm& form = countdowns_.add(std::make_unique<PowerCountdownForm>(
        std::move(*countdown), services_.system, [this](PowerCountdownForm& closed) { countdowns_.closed(closed); }));
    if (!form.show()) countdowns_.closed(form);
}

void AlarmRunner::closeAll() {
    windows_.forEach([](SoundForm& form) { form.unloadWithoutExtension(); });
    countdowns_.forEach([](PowerCountdownForm& form) { form.cancel(); });
}

bool AlarmRunner::preTranslateMessage(MSG& message) {
    windows_.dropClosed();
    countdowns_.dropClosed();
    const auto owns = [&message](const auto& form) {
        const HWND dialog = form.hwnd();
        return dialog != nullptr && (message.hwnd == dialog || IsChild(dialog, message.hwnd));
    };
    if (const PowerCountdownForm* form = countdowns_.find(owns)) return IsDialogMessageW(form->hwnd(), &message) != 0;
    SoundForm* form = windows_.find(owns);
    if (form == nullptr) return false;
    // Keys typed into another program just before the window opened must not
    // close or extend it.
    if (form->ignoresKey(message)) return true;
    // The window sees typed characters before its button does.
    if (message.message == WM_CHAR) {
        form->form_KeyPress(static_cast<wchar_t>(message.wParam));
        return true;
    }
    return IsDialogMessageW(form->hwnd(), &message) != 0;
}

}  // namespace kolvi
