// Arbitrary bytes as an alarm's file field. A text the parser takes as a
// command does at most one thing, every "sendkeys " text is one, and what it
// types is what its keys parse to. Only recording fakes are used: nothing here ever
// reaches the real system.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "command/control_command.h"
#include "command/send_keys.h"
#include "support/fakes.h"

namespace {

void fail(const char* what) {
    std::fprintf(stderr, "control command: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kolvi::test::RecordingSystemActions actions;
    int exits = 0;
    const std::optional<kolvi::ControlCommand> command = kolvi::parseControlCommand(text);
    const bool ran = command.has_value();
    if (command) kolvi::runControlCommand(*command, actions, [&exits] { ++exits; });
    if (actions.calls.size() + static_cast<std::size_t>(exits) > 1) fail("a command did more than one thing");

    std::string lower(text.substr(0, kolvi::kSendKeysPrefix.size()));
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
    if (lower == kolvi::kSendKeysPrefix) {
        if (!ran) fail("a sendkeys text is not a command");
        const auto keys = kolvi::parseSendKeys(text.substr(kolvi::kSendKeysPrefix.size()));
        const bool types = keys && !keys->empty();
        if (types != (actions.typed.size() == 1) || (types && actions.typed[0] != *keys)) {
            fail("sendkeys typed other keys than its text parses to");
        }
    } else if (!actions.typed.empty()) {
        fail("keys typed by a command that is not sendkeys");
    }
    return 0;
}
