#include "mainwindow/list_interaction.h"

#include <algorithm>

#include "platform/keys.h"

namespace kolvi {

bool toggleRowCheck(AlarmList& list, std::size_t position) {
    return position < list.rowCount() && list.changeCheck(position, !list.row(position).checked);
}

MouseDownAction listMouseDown(bool rowUnderPointer, bool hasCurrentRow) {
    if (rowUnderPointer) return MouseDownAction::makeCurrent;
    return hasCurrentRow ? MouseDownAction::clearCurrent : MouseDownAction::nothing;
}

ListActivation listActivation(bool fileOpen, bool hasCurrentRow) {
    if (!fileOpen) return ListActivation::none;
    return hasCurrentRow ? ListActivation::editAlarm : ListActivation::addAlarm;
}

bool opensListPopupFromKeyboard(unsigned virtualKey, bool shift, bool ctrl, bool alt) {
    if (virtualKey == vk::kApps) return true;
    return virtualKey == vk::kF10 && shift && !ctrl && !alt;
}

std::optional<ListPopupPlan> planListPopup(const ListPopupRequest& request) {
    if (!request.fileOpen) return std::nullopt;
    ListPopupPlan plan;
    plan.defaultItem = request.hasCurrentRow ? MenuItem::popupEdit : MenuItem::popupAdd;

    if (!request.fromKeyboard) {
        plan.anchor = PopupAnchor::atPointer;
        return plan;
    }
    plan.anchor = PopupAnchor::atPoint;
    if (request.hasCurrentRow && request.currentRowRect) {
        const Rect& row = *request.currentRowRect;
        Point p{row.left, row.top + row.height() / 2};
        // A row partly scrolled out of view must not send the menu off the list.
        if (request.listSize.width > 0 && request.listSize.height > 0) {
            p.x = std::clamp(p.x, 0, request.listSize.width - 1);
            p.y = std::clamp(p.y, 0, request.listSize.height - 1);
        }
        plan.point = p;
    }
    return plan;
}

}  // namespace kolvi
