#pragma once
#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace kolvi::win32 {

// "MS UI Gothic" 9 pt where installed, else the system's message font, at
// the given dpi.
UniqueFont createUiFont(UINT dpi);
bool fontFamilyInstalled(const wchar_t* face);

}  // namespace kolvi::win32
