#pragma once
// The command words an alarm's file field may hold instead of a file. The
// whole field is compared after ASCII lower-casing and without trimming, so
// "EXIT" is a command and " exit" is a file name. Only "sendkeys " is a
// prefix (with exactly one blank); the keys after it keep their case.
#include <functional>
#include <string_view>

#include "platform/system_actions.h"

namespace kolvi {

inline constexpr std::string_view kSendKeysPrefix = "sendkeys ";

// True when runControlCommand would recognise the text.
bool isControlCommand(std::string_view text);

// Carries out a recognised command and returns true; returns false, having
// done nothing, for any other text. "exit" calls exitProgram. A "sendkeys "
// text whose keys do not parse is still a command: it types nothing, as does
// one with no keys at all. Nothing waits for the action or reports on it.
bool runControlCommand(std::string_view text, SystemActions& actions, const std::function<void()>& exitProgram);

}  // namespace kolvi
