#pragma once
// The main window's ways in from outside: requests of the command line
// (WM_COPYDATA) and the global hot key. It registers the key, takes the
// requests once the start is over, and records requested countdowns in the
// timer history; what they do to the list is up to the window.
#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/timer_history.h"
#include "mainwindow/remote_request.h"
#include "platform/desktop.h"
#include "settings/settings_file.h"

namespace kolvi {

class MainRemoteEvents {
public:
    virtual ~MainRemoteEvents() = default;
    // A well-formed request's words; the answer for the sender.
    virtual RemoteAnswer remote_Request(std::span<const std::string> words) = 0;
    virtual void hotKey_Pressed() = 0;
    // The hot key could not be registered: a notice for the status bar.
    virtual void hotKey_Failed(std::string_view notice) = 0;
};

class MainRemote {
public:
    MainRemote(MainRemoteEvents& events, const SettingsFile& settings, Desktop& desktop, TimerHistory history)
        : events_(events), settings_(settings), desktop_(desktop), history_(std::move(history)) {}

    // The start is over: the hot key of the settings is registered and
    // requests are taken from now on.
    void start(HWND window);
    void stop();
    // WM_COPYDATA and WM_HOTKEY; nullopt for every other message.
    std::optional<LRESULT> handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A countdown added by request is recorded as the editor records one; a
    // failure is told in a box, the countdown is still set.
    void record(const TimerHistoryEntry& entry);

private:
    MainRemoteEvents& events_;
    const SettingsFile& settings_;
    Desktop& desktop_;
    TimerHistory history_;
    HWND window_ = nullptr;  // set once the start is over
    bool hotKeyRegistered_ = false;
};

}  // namespace kolvi
