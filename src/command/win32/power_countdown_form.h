#pragma once
// The small topmost window that counts down before an alarm logs off, shuts
// down or restarts, with "今すぐ実行" and "キャンセル" (Escape). Its state is
// PowerCountdown; this is the dialog around it.
#include <functional>

#include "command/power_countdown.h"
#include "platform/system_actions.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/unique_handle.h"

namespace kolvi {

class PowerCountdownForm final : public win32::DialogBase {
public:
    // closed: the window is gone; the owner may now destroy this object.
    PowerCountdownForm(PowerCountdown countdown, SystemActions& actions, std::function<void(PowerCountdownForm&)> closed);
    bool show();
    // The program is ending: nothing runs.
    void cancel();
    const PowerCountdown& countdown() const { return countdown_; }

private:
    friend struct PowerCountdownCommands;
    INT_PTR form_Load() override;
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void form_Closed() override;
    void countdown_Timer();
    void runNowButton_Click();
    void cancelButton_Click() { cancel(); }
    void render();

    PowerCountdown countdown_;
    SystemActions& actions_;
    std::function<void(PowerCountdownForm&)> closed_;
    win32::WindowTimer secondTimer_{1};
};

}  // namespace kolvi
