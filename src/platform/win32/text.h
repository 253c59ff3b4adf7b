#pragma once
// UTF-8 <-> UTF-16 at the Win32 call boundary.
#include <string>
#include <string_view>

namespace kolvi::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
// The system's own words for an error code, in its language.
std::string systemErrorText(unsigned long error);

}  // namespace kolvi::win32
