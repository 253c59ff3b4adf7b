#include "mainwindow/win32/missed_form.h"

#include "platform/win32/text.h"
#include "resource.h"

namespace kolvi {

void MissedForm::report(const std::vector<MissedAlarm>& missed) {
    if (report_.add(missed)) {
        // Modeless, and shown without a modal loop: the check's tick is
        // still running when the report arrives.
        if (createModeless(IDD_MISSEDFORM, nullptr)) ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    } else {
        render();
    }
}

INT_PTR MissedForm::form_Load() {
    render();
    // OK has the focus, so Enter and Esc answer at once.
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDOK)), TRUE);
    return FALSE;
}

bool MissedForm::preTranslateMessage(MSG& message) {
    const HWND dialog = hwnd();
    if (dialog == nullptr || (message.hwnd != dialog && !IsChild(dialog, message.hwnd))) return false;
    return IsDialogMessageW(dialog, &message) != 0;
}

INT_PTR MissedForm::handleMessage(UINT message, WPARAM wParam, LPARAM) {
    if ((message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) || message == WM_CLOSE) {
        endDialog(IDOK);
        return TRUE;
    }
    return FALSE;
}

void MissedForm::render() {
    const HWND list = item(IDC_MISSED_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : report_.lines()) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::widen(line).c_str()));
    }
}

}  // namespace kolvi
