// Entry point: builds the real services and the main window and wires them.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "mainwindow/list_settings.h"
#include "mainwindow/main_form.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_boxes.h"
#include "settings/settings_file.h"
#include "store/alarm_file.h"
#include "store/alarm_list.h"

namespace {

// Default window size: 7000 x 3500 twips, in pixels at 96 dpi.
constexpr int kDefaultWidth = 7000 / 15;
constexpr int kDefaultHeight = 3500 / 15;

int run(int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    kolvi::win32::Win32FileSystem fileSystem;
    kolvi::win32::Win32Codec codec;
    kolvi::win32::Win32MessageBoxes messageBoxes;

    // Every relative name is taken against the program's own directory.
    const std::string programDirectory = kolvi::win32::programDirectory();
    SetCurrentDirectoryW(kolvi::win32::widen(programDirectory).c_str());
    kolvi::SettingsFile settings(fileSystem, codec, programDirectory + "\\kolvialarm.ini");

    kolvi::AlarmList list;
    list.setUpAlarmColumns();
    const kolvi::AlarmFileContext files{fileSystem, codec, messageBoxes, settings, programDirectory};

    kolvi::MainForm form(list, files);
    if (!form.create(kDefaultWidth, kDefaultHeight)) return 1;

    const std::string opened = kolvi::openAlarmFile(list, files, "");
    const kolvi::ListSettings listSettings = kolvi::readListSettings(settings);
    list.setColumnWidths(listSettings.columnWidths);
    list.applySort(listSettings.sortKey, listSettings.sortOrder);
    form.showFileState(opened);

    messageBoxes.setOwner(form.hwnd());
    ShowWindow(form.hwnd(), showCommand);
    UpdateWindow(form.hwnd());

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) { return run(showCommand); }
