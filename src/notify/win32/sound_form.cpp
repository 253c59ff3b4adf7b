#include "notify/win32/sound_form.h"

#include <commctrl.h>

#include <cstdint>

#include "resource.h"
#include "platform/win32/text.h"

namespace kolvi {

SoundForm::SoundForm(Services services) : services_(std::move(services)) {}

SoundForm::~SoundForm() {
    // A window still open stops its sound like any other that closes.
    if (hwnd_ != nullptr) {
        services_.closed = nullptr;
        unloadWithoutExtension();
    }
}

void SoundForm::playSound(const std::string& fileName, const std::string&, const std::string& message, int mode,
                          int apiTypeSetting, const std::string& dataText) {
    // The title chosen by the caller is not shown: the caption stays the
    // program's own.
    fileName_ = fileName;
    message_ = message;
    mode_ = mode;
    apiType_ = apiTypeSetting;
    dataText_ = dataText;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (mode == kAlarmFired) {
        if (CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SOUNDFORM), nullptr, &SoundForm::dialogProc,
                               reinterpret_cast<LPARAM>(this)) != nullptr) {
            ShowWindow(hwnd_, SW_SHOW);
            SetForegroundWindow(hwnd_);
        }
    } else {
        DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SOUNDFORM), services_.owner, &SoundForm::dialogProc,
                        reinterpret_cast<LPARAM>(this));
    }
}

INT_PTR SoundForm::form_Load(HWND hwnd) {
    hwnd_ = hwnd;
    model_.emplace(mode_, apiType_, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(hwnd)), dataText_);
    ShowWindow(GetDlgItem(hwnd, IDC_MESSAGE2), model_->hintVisible() ? SW_SHOW : SW_HIDE);
    model_->startSound(services_.sound, fileName_);
    SetDlgItemTextW(hwnd, IDC_MESSAGE1, win32::widen(message_).c_str());
    // The window takes typed keys before its button does, whichever message
    // loop delivers them (a message box or menu of the main window may be
    // running one).
    SetWindowSubclass(GetDlgItem(hwnd, IDCANCEL), &SoundForm::buttonProc, 1, reinterpret_cast<DWORD_PTR>(this));
    // Topmost as well: the system may refuse the foreground to a program
    // that sits in the notification area.
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd);
    return TRUE;
}

void SoundForm::form_KeyPress(wchar_t key) {
    if (model_ && model_->keyPress(static_cast<char32_t>(key), services_.settings)) closeWindow();
}

void SoundForm::stopButton_Click() {
    if (model_) model_->closeWithoutExtension();
    closeWindow();
}

void SoundForm::unloadWithoutExtension() { stopButton_Click(); }

void SoundForm::closeWindow() {
    if (hwnd_ == nullptr) return;
    if (model_ && model_->modal()) {
        EndDialog(hwnd_, IDCANCEL);
    } else {
        DestroyWindow(hwnd_);
    }
}

void SoundForm::form_Unload() {
    if (!model_) return;
    const UnloadOutcome outcome = model_->unload(services_.sound, services_.clock, services_.target);
    switch (outcome.action) {
    case UnloadAction::addExtension:
        if (services_.addExtension) services_.addExtension(outcome.line);
        break;
    case UnloadAction::tellNoFileOpen:
        if (services_.tellNoFileOpen) services_.tellNoFileOpen();
        break;
    case UnloadAction::nothing:
        break;
    }
}

LRESULT CALLBACK SoundForm::buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
    auto* self = reinterpret_cast<SoundForm*>(data);
    switch (message) {
    case WM_CHAR:
        self->form_KeyPress(static_cast<wchar_t>(wParam));
        if (wParam >= L'1' && wParam <= L'9') return 0;
        break;
    case WM_KEYDOWN:
        // Without the dialog manager (another modal loop runs) the button
        // still answers Enter and Escape.
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            self->stopButton_Click();
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &SoundForm::buttonProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK SoundForm::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SoundForm*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return self->form_Load(hwnd);
    }
    auto* self = reinterpret_cast<SoundForm*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;
    switch (message) {
    case WM_COMMAND:
        // The button is both default and cancel: Enter, Escape and Alt+C.
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            self->stopButton_Click();
            return TRUE;
        }
        return FALSE;
    case WM_CHAR:
        self->form_KeyPress(static_cast<wchar_t>(wParam));
        return TRUE;
    case WM_CLOSE:
        self->stopButton_Click();
        return TRUE;
    case WM_DESTROY:
        self->form_Unload();
        return TRUE;
    case WM_NCDESTROY: {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        if (self->services_.closed) self->services_.closed(*self);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace kolvi
