#include "mainwindow/window_settings.h"

#include <algorithm>
#include <string>

#include "store/alarm_record.h"

namespace kolvi {
namespace {

constexpr std::string_view kWindow = "window";
constexpr std::string_view kList = "list";
constexpr std::string_view kStatusBar = "statusbar";

constexpr int kMaxCheckIntervalMs = 65535;
constexpr int kMaxTrayRefreshSeconds = 24 * 60 * 60;

int readPositive(const SettingsFile& settings, std::string_view key, int defaultValue) {
    const int value = settings.readInt(kWindow, key, defaultValue);
    return value > 0 ? value : defaultValue;
}

}  // namespace

WindowSettings loadWindowSettings(const SettingsFile& settings) {
    WindowSettings w;
    const int state = settings.readInt(kWindow, "state", static_cast<int>(w.state));
    w.state = (state == 1 || state == 2) ? static_cast<WindowState>(state) : WindowState::normal;
    w.left = settings.readInt(kWindow, "left", w.left);
    w.top = settings.readInt(kWindow, "top", w.top);
    w.width = readPositive(settings, "width", w.width);
    w.height = readPositive(settings, "height", w.height);
    w.alpha = std::clamp(settings.readInt(kWindow, "arpha", w.alpha), 0, 255);
    w.list = readListSettings(settings);
    w.showToolTip = settings.readFlag(kList, "showtooltip", w.showToolTip);
    w.statusBarVisible = settings.readFlag(kStatusBar, "visible", w.statusBarVisible);
    return w;
}

void saveWindowSettings(SettingsFile& settings, const WindowSettings& window, std::string_view fileTag,
                        bool keepLastOpen) {
    settings.writeInt(kWindow, "state", static_cast<int>(window.state));
    settings.writeInt(kWindow, "left", window.left);
    settings.writeInt(kWindow, "top", window.top);
    settings.writeInt(kWindow, "width", window.width);
    settings.writeInt(kWindow, "height", window.height);
    settings.writeInt(kList, "sortkey", static_cast<int>(window.list.sortColumn));
    settings.writeInt(kList, "sortorder", window.list.sortOrder == SortOrder::descending ? 1 : 0);
    for (std::size_t c = 0; c < window.list.columnWidths.size(); ++c) {
        settings.writeInt(kList, "colwidth" + std::to_string(c + 1), window.list.columnWidths[c]);
    }
    // A tag the settings file cannot hold (a character outside code page 932)
    // must not leave the previous file to be reopened at the next start.
    if (!keepLastOpen && !settings.writeString(kList, "lastopen", toTrimmedText(fileTag))) {
        settings.writeString(kList, "lastopen", "");
    }
    settings.writeInt(kList, "showtooltip", flagToNumber(window.showToolTip));
    settings.writeInt(kStatusBar, "visible", flagToNumber(window.statusBarVisible));
}

int readCheckInterval(const SettingsFile& settings) {
    return std::clamp(settings.readInt("time", "interval", 250), 0, kMaxCheckIntervalMs);
}

std::uint32_t readTrayRefreshPeriod(const SettingsFile& settings) {
    const int seconds = std::clamp(settings.readInt(kWindow, "trayrefreshinterval", 0), 0, kMaxTrayRefreshSeconds);
    return static_cast<std::uint32_t>(seconds) * 1000u;
}

bool closeNeedsConfirmation(CloseSource source, const SettingsFile& settings) {
    if (source != CloseSource::closeCommand) return false;
    return settings.readInt(kWindow, "closeconfirm", 0) != 0;
}

bool isMinimizedStartArgument(std::span<const std::string> arguments) {
    return arguments.size() == 1 && arguments.front() == "min";
}

StartPlan startPlan(WindowState storedState, bool minimizedArgument) {
    StartPlan plan;
    plan.shownState = storedState == WindowState::maximized ? WindowState::maximized : WindowState::normal;
    plan.startInTray = minimizedArgument || storedState == WindowState::minimized;
    return plan;
}

}  // namespace kolvi
