#include "platform/win32/dialog_base.h"

#include "platform/win32/proc_guard.h"

namespace kolvi::win32 {

DialogBase::~DialogBase() {
    if (hwnd_ != nullptr) {
        // The derived part is already gone: the procedure must not reach it
        // while the window is destroyed.
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

bool DialogBase::createModeless(int templateId, HWND owner) {
    modal_ = false;
    ended_ = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &DialogBase::staticProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR DialogBase::runModal(int templateId, HWND owner, MessageFilter* filter) {
    // The owner's top-level window is the one a modal dialog disables.
    const HWND top = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
    const bool ownerWasEnabled = top != nullptr && IsWindowEnabled(top);
    modal_ = true;
    ended_ = false;
    result_ = IDCANCEL;
    if (CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &DialogBase::staticProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
        return IDCANCEL;
    }
    if (ownerWasEnabled) EnableWindow(top, FALSE);
    ShowWindow(hwnd_, SW_SHOW);

    MSG message{};
    bool quit = false;
    while (!ended_ && hwnd_ != nullptr) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            break;
        }
        if (filter != nullptr && filter->preTranslateMessage(message)) continue;
        if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The owner comes back before the dialog goes, so that the system
    // activates it rather than some other program's window.
    if (ownerWasEnabled) EnableWindow(top, TRUE);
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    // The quit belongs to the outer loop.
    if (quit) PostQuitMessage(static_cast<int>(message.wParam));
    modal_ = false;
    return result_;
}

void DialogBase::endDialog(INT_PTR result) {
    if (hwnd_ == nullptr) return;
    result_ = result;
    ended_ = true;
    if (modal_) {
        PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the loop if it is waiting
    } else {
        DestroyWindow(hwnd_);
    }
}

void DialogBase::enableControl(int id, bool enabled) {
    const HWND control = item(id);
    if (control == nullptr) return;
    if (!enabled && GetFocus() == control) SendMessageW(hwnd_, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(control, enabled ? TRUE : FALSE);
}

INT_PTR DialogBase::handleMessage(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK DialogBase::staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return guarded<INT_PTR>(TRUE, [self] { return self->form_Load(); });
    }
    self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        guarded(0, [self] {
            self->form_Closed();
            return 0;
        });
        return FALSE;
    }
    return guarded<INT_PTR>(FALSE, [&] { return self->handleMessage(message, wParam, lParam); });
}

}  // namespace kolvi::win32
