#pragma once
// The one window that lists the alarms a sleep or a clock change skipped and
// that came due too long ago to fire: a line each, and OK. It grows while it
// is open; MissedReport holds its lines.
#include <functional>
#include <vector>

#include "platform/win32/dialog_base.h"
#include "schedule/missed_alarms.h"

namespace kolvi {

class MissedForm final : public win32::DialogBase {
public:
    // Opens the window, or adds the new lines to the open one.
    void report(const std::vector<MissedAlarm>& missed);
    const MissedReport& lines() const { return report_; }
    // The dialog keys (Enter, Esc, Tab) of a message meant for the window;
    // false for any other message.
    bool preTranslateMessage(MSG& message);

private:
    INT_PTR form_Load() override;
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void form_Closed() override { report_.close(); }
    void render();

    MissedReport report_;
};

}  // namespace kolvi
