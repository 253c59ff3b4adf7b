#pragma once
// The alarm-file dialogs: filter "アラームファイル(*.alm)", no starting
// directory. An empty result means the user cancelled.
#include <windows.h>

#include <string>

namespace kolvi::win32 {

std::string askOpenAlarmFile(HWND owner);
// title empty: the system's title.
std::string askSaveAlarmFile(HWND owner, const std::wstring& title);
// Any file, "すべてのファイル(*.*)", starting in folder ("" for the system's
// choice). Paths of any length the system allows come back whole.
std::string askOpenAnyFile(HWND owner, const std::string& folder);

}  // namespace kolvi::win32
