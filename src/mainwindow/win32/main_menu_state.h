#pragma once
// What the main window's menus keep between uses: the pop-up menus, the
// accelerators, the row a context menu was opened for, and the Run entry
// behind the file menu's start-with-Windows item.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "mainwindow/startup_entry.h"
#include "platform/win32/unique_handle.h"

namespace kolvi {

struct MainMenuState {
    explicit MainMenuState(StartupRegistry* registry) : startup(registry) {}

    win32::UniqueMenu popups;
    HACCEL accelerators = nullptr;
    std::optional<std::uint64_t> popupRowId;  // the row the context menu was opened for
    StartWithWindows startup;
};

}  // namespace kolvi
