#pragma once
// Fakes of the sound output and the Run entry for native tests.
#include <optional>
#include <string>
#include <vector>

#include "platform/audio_output.h"
#include "platform/startup_registry.h"

namespace kolvi::test {

// An output whose state the test sets (nullopt: the query fails); records
// "out:<percent>:<muted>" and "session:<percent>" for every change asked.
struct FakeAudioOutput final : AudioOutput {
    std::optional<OutputState> defaultOutput() override { ++queries; return state; }
    bool setOutput(float level, bool muted) override {
        calls.push_back("out:" + std::to_string(level) + (muted ? ":m" : ""));
        if (refuse || !state) return false;
        state = OutputState{true, muted, level};
        return true;
    }
    bool setSessionVolume(float level) override { calls.push_back("session:" + std::to_string(level)); return !refuse; }
    std::optional<OutputState> state = OutputState{};
    bool refuse = false;
    int queries = 0;
    std::vector<std::string> calls;
};

// A Run key in memory; finalPath folds the names of links to their targets.
struct FakeStartupRegistry final : StartupRegistry {
    std::optional<std::string> readEntry() override { return entry; }
    std::string writeEntry(const std::string& line) override { if (error.empty()) entry = line; return error; }
    std::string removeEntry() override { if (error.empty()) entry.reset(); return error; }
    std::string programPath() const override { return program; }
    std::string finalPath(const std::string& path) const override { return path == link ? target : path; }
    std::optional<std::string> entry;
    std::string error, program = "C:\\Prog\\kolvialarm.exe", link, target;
};

}  // namespace kolvi::test
