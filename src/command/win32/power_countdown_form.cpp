#include "command/win32/power_countdown_form.h"

#include "platform/win32/text.h"
#include "resource.h"

namespace kolvi {
struct PowerCountdownCommands {
    static constexpr win32::CommandRoute<PowerCountdownForm> kRoutes[] = {
        {IDC_POWER_RUN_NOW, BN_CLICKED, &PowerCountdownForm::runNowButton_Click},
        {IDCANCEL, win32::kAnyCode, &PowerCountdownForm::cancelButton_Click},
    };
};

PowerCountdownForm::PowerCountdownForm(PowerCountdown countdown, SystemActions& actions,
                                       std::function<void(PowerCountdownForm&)> closed)
    : countdown_(std::move(countdown)), actions_(actions), closed_(std::move(closed)) {}

bool PowerCountdownForm::show() {
    if (!createModeless(IDD_POWERFORM, nullptr)) return false;
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    return true;
}

INT_PTR PowerCountdownForm::form_Load() {
    render();
    secondTimer_.start(hwnd(), 1000);
    return TRUE;
}

INT_PTR PowerCountdownForm::handleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_TIMER:
        if (wParam == secondTimer_.id()) countdown_Timer();
        return TRUE;
    case WM_COMMAND:
        return routeCommand(*this, PowerCountdownCommands::kRoutes, wParam) ? TRUE : FALSE;
    case WM_CLOSE:
        cancel();
        return TRUE;
    default:
        return FALSE;
    }
}

void PowerCountdownForm::form_Closed() {
    if (closed_) closed_(*this);
}

void PowerCountdownForm::render() {
    SetDlgItemTextW(hwnd(), IDC_POWER_TEXT, win32::widen(countdown_.text()).c_str());
}

void PowerCountdownForm::countdown_Timer() {
    if (countdown_.tick(actions_)) render();
    if (countdown_.done()) endDialog(IDOK);
}

void PowerCountdownForm::runNowButton_Click() {
    countdown_.runNow(actions_);
    endDialog(IDOK);
}

void PowerCountdownForm::cancel() {
    countdown_.cancel();
    endDialog(IDCANCEL);
}

}  // namespace kolvi
