#pragma once
// The command line's way to the running program: a second start finds the
// main window of the copy of its own program file that runs, and hands it the
// request's words in WM_COPYDATA. The receiver's answer (RemoteAnswer) comes
// back as the message's result.
#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mainwindow/remote_request.h"

namespace kolvi::win32 {

// COPYDATASTRUCT::dwData of a request: data with any other tag is not one.
inline constexpr ULONG_PTR kRemoteRequestTag = 0x4B4C5652;

// Sends the words to the running copy, waiting while it is still starting,
// and returns the exit code of its answer (exitCodeFor).
int sendRemoteRequest(std::span<const std::string> words);

// The words of a request, copied out of the message; nullopt for data that
// is not a request or not well formed, which the receiver ignores.
std::optional<std::vector<std::string>> remoteRequestWords(const COPYDATASTRUCT& data);

}  // namespace kolvi::win32
