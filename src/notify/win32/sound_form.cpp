#include "notify/win32/sound_form.h"

#include <imm.h>

#include <cstdint>
#include <utility>

#include "platform/win32/text.h"
#include "resource.h"
#include "settings/safety_settings.h"

namespace kolvi {
namespace {

// The fade-in's steps: a tenth of a second each is smooth to the ear.
constexpr UINT_PTR kFadeTimerId = 1;
constexpr UINT kFadeStepMs = 100;

}  // namespace

SoundForm::SoundForm(Services services) : services_(std::move(services)) {}

SoundForm::~SoundForm() {
    // A window still open stops its sound like any other that closes.
    if (hwnd() != nullptr) {
        services_.closed = nullptr;
        unloadWithoutExtension();
    }
}

void SoundForm::playSound(const AlarmAction& action, const std::string& alarmLine, HWND owner,
                          win32::MessageFilter* filter) {
    action_ = action;
    alarmLine_ = alarmLine;
    if (action.mode == AlarmMode::fire) {
        // The window asked for the foreground itself as it loaded.
        if (createModeless(IDD_SOUNDFORM, nullptr)) ShowWindow(hwnd(), SW_SHOW);
    } else {
        runModal(IDD_SOUNDFORM, owner, filter);
    }
}

INT_PTR SoundForm::form_Load() {
    // The digit keys must arrive as keys, not go into the input method's
    // composition when the Japanese input is switched on.
    ImmAssociateContextEx(hwnd(), nullptr, IACE_CHILDREN);
    icons_ = win32::loadWindowIcons(GetDpiForWindow(hwnd()));
    win32::setWindowIcons(hwnd(), icons_);
    model_.emplace(action_.mode, action_.soundApi, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(hwnd())),
                   alarmLine_);
    ShowWindow(item(IDC_DIGIT_HINT), model_->hintVisible() ? SW_SHOW : SW_HIDE);
    // The volume is raised and the fade set up before the first sample plays.
    std::string reason;
    if (services_.audio != nullptr) {
        reason = services_.audio->soundStarting(action_.file, services_.clock.milliseconds());
        soundTold_ = true;
        if (services_.audio->fading()) SetTimer(hwnd(), kFadeTimerId, kFadeStepMs, nullptr);
    }
    model_->startSound(services_.sound, action_.file);
    model_->setShown(services_.clock.milliseconds(), readKeyGuardMs(services_.settings));
    SetDlgItemTextW(hwnd(), IDC_ALARM_NAME, win32::widen(action_.message + reason).c_str());
    // The window takes typed keys before its button does, whichever message
    // loop delivers them (a message box or menu of the main window may be
    // running one).
    stopButton_.attach(item(IDCANCEL), [this](UINT message, WPARAM wParam, LPARAM) {
        return stopButton_Message(message, wParam);
    });
    // Topmost as well: the system may refuse the foreground to a program
    // that sits in the notification area.
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd());
    return TRUE;
}

INT_PTR SoundForm::handleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        // The button is both default and cancel: Enter, Escape and Alt+C.
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            stopButton_Click();
            return TRUE;
        }
        return FALSE;
    case WM_CHAR:
        if (!ignoresKey(MSG{hwnd(), message, wParam, 0, 0, {}})) form_KeyPress(static_cast<wchar_t>(wParam));
        return TRUE;
    case WM_CLOSE:
        stopButton_Click();
        return TRUE;
    case WM_TIMER:
        if (wParam == kFadeTimerId && services_.audio != nullptr) {
            services_.audio->fadeStep(services_.clock.milliseconds());
            if (!services_.audio->fading()) KillTimer(hwnd(), kFadeTimerId);
        }
        return TRUE;
    case WM_DESTROY:
        form_Unload();
        return TRUE;
    default:
        return FALSE;
    }
}

void SoundForm::form_Closed() {
    if (services_.closed) services_.closed(*this);
}

bool SoundForm::ignoresKey(const MSG& message) const {
    if (!model_) return false;
    char32_t key = 0;
    if (message.message == WM_CHAR) {
        key = static_cast<char32_t>(message.wParam);
    } else if (message.message == WM_KEYDOWN || message.message == WM_KEYUP) {
        switch (message.wParam) {
        case VK_RETURN:
            key = U'\r';
            break;
        case VK_ESCAPE:
            key = U'\x1b';
            break;
        case VK_SPACE:
            key = U' ';
            break;
        default:
            return false;
        }
    } else {
        return false;
    }
    return model_->ignoresKey(key, services_.clock.milliseconds());
}

std::optional<LRESULT> SoundForm::stopButton_Message(UINT message, WPARAM wParam) {
    if (ignoresKey(MSG{stopButton_.control(), message, wParam, 0, 0, {}})) return 0;
    switch (message) {
    case WM_CHAR:
        form_KeyPress(static_cast<wchar_t>(wParam));
        if (wParam >= L'1' && wParam <= L'9') return 0;
        break;
    case WM_KEYDOWN:
        // Without the dialog manager (another modal loop runs) the button
        // still answers Enter and Escape.
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            stopButton_Click();
            return 0;
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

void SoundForm::form_KeyPress(wchar_t key) {
    if (model_ && model_->keyPress(static_cast<char32_t>(key), services_.settings)) endDialog(IDOK);
}

void SoundForm::stopButton_Click() {
    if (model_) model_->closeWithoutExtension();
    endDialog(IDCANCEL);
}

void SoundForm::unloadWithoutExtension() { stopButton_Click(); }

void SoundForm::form_Unload() {
    if (!model_) return;
    const bool told = std::exchange(soundTold_, false);
    // An extension is added and saved before the sound stops; the volume
    // comes back and a message box waits until the sound has stopped.
    const UnloadAction action =
        model_->unload(services_.sound, services_.clock, services_.target, services_.addExtension).action;
    if (told && services_.audio != nullptr) services_.audio->soundStopped();
    if (action == UnloadAction::tellNoFileOpen && services_.tellNoFileOpen) services_.tellNoFileOpen();
}

}  // namespace kolvi
