#pragma once
// Starting other programs without waiting for them.
#include <windows.h>

#include <string>

namespace kolvi::win32 {

// The shell's "open" verb on a file; true when the shell accepted it.
bool openWithShell(HWND owner, const std::wstring& path);
// Starts a command line shown normally; true when the process started.
bool startCommandLine(const std::wstring& commandLine);
// "<system directory>\program" in quotes, then the arguments: a program of
// that name beside ours (a writable folder) is never the one started.
std::wstring systemProgramCommandLine(const std::wstring& program, const std::wstring& arguments);

}  // namespace kolvi::win32
