#include "mainwindow/tray_icon_state.h"

#include "store/paths.h"
#include "text/utf8.h"
#include "texts/common_texts.h"

namespace kolvi {
std::string trayTipText(std::string_view fileTag, std::string_view nextAlarm) {
    std::string tip(kProgramTitle);
    if (fileTag.empty()) return tip;
    tip += "\r\n";
    tip += fileNamePart(fileTag);
    if (!nextAlarm.empty()) {
        tip += "\r\n";
        tip += nextAlarm;
    }
    return tip;
}

std::string fitTrayTip(std::string_view tip, std::size_t fieldUnits) {
    if (fieldUnits == 0) return {};
    const std::size_t budget = fieldUnits - 1;  // the NUL
    std::size_t units = 0;
    std::size_t end = 0;
    while (end < tip.size()) {
        const std::string_view character = utf8::characterAt(tip, end);
        const std::size_t length = character.size();
        const std::size_t needed = utf8::utf16Units(character);
        if (units + needed > budget) break;
        units += needed;
        end += length;
    }
    std::string fitted(tip.substr(0, end));
    // A cut through or right after the line break would leave a lone CR or
    // an empty second line.
    if (end < tip.size()) {
        while (!fitted.empty() && (fitted.back() == '\r' || fitted.back() == '\n')) fitted.pop_back();
    }
    return fitted;
}

TrayCallbackAction trayCallbackAction(std::uint32_t mouseMessage) {
    switch (mouseMessage & 0xFFFFu) {
    case trayMouse::kMove:
        return TrayCallbackAction::updateTip;
    case trayMouse::kLeftDoubleClick:
        return TrayCallbackAction::restore;
    case trayMouse::kRightButtonUp:
        return TrayCallbackAction::openMenu;
    default:
        return TrayCallbackAction::ignore;
    }
}

TrayIconState::TrayIconState(std::uint32_t refreshPeriodMs, WindowState shownState)
    : refreshPeriodMs_(refreshPeriodMs),
      windowStateTmp_(shownState == WindowState::maximized ? WindowState::maximized : WindowState::normal),
      tip_(kProgramTitle) {}

TrayIconState::ResizeActions TrayIconState::onResize(WindowState state) {
    ResizeActions actions;
    if (exitStarted_) return actions;
    if (state == WindowState::minimized) {
        inTray_ = true;
        actions.addIcon = true;
        actions.hideWindow = true;
        actions.refreshTimerEnabled = refreshPeriodMs_ > 0;
    } else {
        windowStateTmp_ = state;
        actions.refreshTimerEnabled = false;
    }
    return actions;
}

WindowState TrayIconState::restore() {
    inTray_ = false;
    return windowStateTmp_;
}

std::optional<std::string> TrayIconState::updateTip(std::string_view fileTag, std::string_view nextAlarm) {
    std::string tip = trayTipText(fileTag, nextAlarm);
    if (tip == tip_) return std::nullopt;
    tip_ = tip;
    return tip;
}

void TrayIconState::beginExit() {
    exitStarted_ = true;
    inTray_ = false;
}

}  // namespace kolvi
