#pragma once
// A dialog object that owns its HWND, made from a dialog template of the
// resources. The static procedure keeps `this` in DWLP_USER from
// WM_INITDIALOG until WM_NCDESTROY and runs every handler guarded.
//
// Modal dialogs run their own message loop instead of DialogBoxParam's, so
// that the program's message filters (the notification windows' keys, a
// dialog's accelerators) keep working while they are open; the owner is
// disabled for as long as the dialog is up, as a system modal dialog would.
#include <windows.h>

#include <cstddef>

namespace kolvi::win32 {

// Something that may take a message before the loop translates and
// dispatches it (the notification windows, a window's accelerators).
class MessageFilter {
public:
    virtual ~MessageFilter() = default;
    virtual bool preTranslateMessage(MSG& message) = 0;
};

// A handler table for WM_COMMAND: control id and notification code (any
// code with kAnyCode) to a member function of the form. A route can cover a
// row of controls with consecutive ids, from id on.
inline constexpr int kAnyCode = -1;
template <typename Form>
struct CommandRoute {
    int id;
    int code;
    void (Form::*handler)();
    int idCount = 1;
};

class DialogBase {
public:
    DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    virtual ~DialogBase();

    HWND hwnd() const { return hwnd_; }
    bool isModal() const { return modal_; }

    // Shows the dialog and waits until it is closed; returns the result given
    // to endDialog (IDCANCEL when the dialog could not be made). filter, when
    // given, sees every message of the loop first.
    INT_PTR runModal(int templateId, HWND owner, MessageFilter* filter = nullptr);
    // Creates the dialog and returns at once; false when it could not be made.
    bool createModeless(int templateId, HWND owner);
    // Closes the dialog: a modal one leaves its loop with result, a modeless
    // one is destroyed. (EndDialog alone would only hide a modeless dialog.)
    void endDialog(INT_PTR result);

    // Enables or disables a control. A focused control that is being disabled
    // hands the focus on first, or the keyboard would be left nowhere.
    void enableControl(int id, bool enabled);
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    // Every message after WM_INITDIALOG; the default does nothing (FALSE).
    virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_INITDIALOG; the return value is the dialog procedure's.
    virtual INT_PTR form_Load() { return TRUE; }
    // WM_NCDESTROY: the window is gone; hwnd() is already null.
    virtual void form_Closed() {}

    // Runs the first route matching the WM_COMMAND parameters; true when one did.
    template <typename Form, std::size_t N>
    static bool routeCommand(Form& form, const CommandRoute<Form> (&routes)[N], WPARAM wParam) {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        for (const CommandRoute<Form>& route : routes) {
            if (id >= route.id && id < route.id + route.idCount && (route.code == kAnyCode || route.code == code)) {
                (form.*route.handler)();
                return true;
            }
        }
        return false;
    }

private:
    static INT_PTR CALLBACK staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = IDCANCEL;
};

}  // namespace kolvi::win32
