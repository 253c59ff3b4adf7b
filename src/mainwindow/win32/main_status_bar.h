#pragma once
// The main window's status bar: the control, its two panels and their
// layout. The first panel tells the check's state, or holds a notice for a
// while; the second shows the next-alarm line (with the reason its sound
// will not be heard) and is as wide as that line needs.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "mainwindow/next_alarm_line.h"
#include "mainwindow/sound_check.h"

namespace kolvi {

class MainStatusBar {
public:
    // output, fs, settings: what the "will it ring?" check asks.
    MainStatusBar(AudioOutput* output, const FileSystem& fs, const SettingsFile& settings)
        : soundCheck_(output, fs, settings) {}

    bool create(HWND parent, int id, HFONT font);
    HWND hwnd() const { return hwnd_; }
    void setFont(HFONT font);
    void setVisible(bool visible);
    bool visible() const;
    // Places the bar at the bottom of a client area `width` wide and splits
    // it into its panels; its height.
    int layout(int width);

    void setFirstPanel(std::string_view text);
    // The check's own text, unless a notice still holds the panel.
    void showStatus(std::string_view text);
    // Holds the first panel for a while before the check's text comes back.
    void showNotice(std::string_view text);

    // shown: the settings' window/shownext.
    void resetNextLine(bool shown) { nextLine_ = NextAlarmLine(shown); }
    // After a tick: true when the line changed (and the panel shows it).
    bool followNextAlarm(const AlarmList& list, const LocalTime& now, std::uint64_t ms);
    // The alarms are off: true when a line was shown and is gone.
    bool clearNextAlarm();
    const NextAlarmLine& nextLine() const { return nextLine_; }

private:
    bool showNextLine(const std::optional<std::string>& line);
    int nextLineWidth() const;

    HWND hwnd_ = nullptr;
    int width_ = 0;
    int lineWidth_ = 0;       // the second panel's text, in pixels
    ULONGLONG noticeUntil_ = 0;  // tick count
    NextAlarmLine nextLine_{false};
    SoundCheck soundCheck_;
};

}  // namespace kolvi
