// Entry point: builds the real services and the main window and wires them.
#include <windows.h>
#include <commctrl.h>
#include <cstdlib>

#include <string>
#include <vector>

#include "mainwindow/remote_request.h"
#include "mainwindow/win32/main_form.h"
#include "mainwindow/win32/remote_link.h"
#include "platform/win32/single_instance.h"
#include "platform/win32/win32_audio_output.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_sound_device.h"
#include "platform/win32/win32_startup_registry.h"
#include "platform/win32/win32_system_actions.h"
#include "platform/win32/win32_wake_timer.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_boxes.h"
#include "settings/settings_file.h"
#include "store/alarm_file.h"
#include "store/alarm_list.h"

namespace {

// The runtime has already split the command line (without the shell's help,
// which would load it at every start).
std::vector<std::string> commandLineArguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.push_back(kolvi::win32::narrow(__wargv[i]));
    return arguments;
}

int run() {
    // A request of the command line is read before anything else: words that
    // fit no form, or that the editor would refuse, are never sent (exit 2).
    const kolvi::StartArguments arguments = kolvi::splitStartArguments(commandLineArguments());
    if (!arguments.request.empty()) {
        const kolvi::RemoteParse parsed = kolvi::parseRemoteRequest(arguments.request, kolvi::win32::Win32Codec());
        if (!parsed.request) {
            kolvi::win32::Win32Desktop().showBox(nullptr, parsed.refusal, kolvi::BoxIcon::warning);
            return 2;
        }
    }
    // A second copy of the same program file hands its request to the first
    // and ends with the answer; without one it ends at once, silently.
    const kolvi::win32::SingleInstance instance(kolvi::win32::programPath());
    if (!instance.isFirst()) return arguments.request.empty() ? 0 : kolvi::win32::sendRemoteRequest(arguments.request);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    kolvi::win32::Win32FileSystem fileSystem;
    kolvi::win32::Win32Codec codec;
    kolvi::win32::Win32MessageBoxes messageBoxes;
    kolvi::win32::Win32Desktop desktop;
    kolvi::win32::Win32Clock clock;
    kolvi::win32::Win32SystemActions systemActions;
    kolvi::win32::Win32SoundDevice sound;

    // Every relative name is taken against the program's own directory.
    const std::string programDirectory = kolvi::win32::programDirectory();
    SetCurrentDirectoryW(kolvi::win32::widen(programDirectory).c_str());
    kolvi::SettingsFile settings(fileSystem, codec, programDirectory + "\\kolvialarm.ini");

    kolvi::AlarmList alarms;
    const kolvi::AlarmFileContext files{fileSystem, codec, messageBoxes, settings, programDirectory};
    kolvi::win32::Win32WakeTimer wakeTimer;
    kolvi::MainFormServices services{alarms, files, settings, desktop, clock, systemActions, sound};
    services.wakeTimer = &wakeTimer;
    kolvi::win32::Win32AudioOutput audio;  // Core Audio is loaded at its first question
    kolvi::win32::Win32StartupRegistry startup;
    services.audio = &audio;
    services.startup = &startup;
    kolvi::MainForm form(services);
    bool started = false;
    {
        // The start reads a few dozen keys: one reading of the file answers them.
        const kolvi::SettingsFile::ReadBatch batch(settings);
        started = form.start(arguments.minimized);
    }
    if (!started) return 1;
    messageBoxes.setOwner(form.hwnd());
    desktop.setOwner(form.hwnd());
    if (!arguments.request.empty()) form.addRequest(arguments.request);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.preTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return run(); }
