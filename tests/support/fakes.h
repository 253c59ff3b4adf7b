#pragma once
// Recording fakes of the platform services for native tests. None of them
// ever reaches the real system.
#include "platform/audio_output.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/message_boxes.h"
#include "platform/sound_device.h"
#include "platform/startup_registry.h"
#include "platform/system_actions.h"
#include "platform/wake_timer.h"

namespace kolvi::test {

struct RecordingMessageBoxes final : MessageBoxes {
    void showError(std::string_view text) override { errors.emplace_back(text); }
    std::vector<std::string> errors;
};

// Answers dialogs with prepared replies and records everything asked.
struct RecordingDesktop final : Desktop {
    std::string askOpenAlarmFile() override { asked.emplace_back("open"); return openReply; }
    std::string askSaveAlarmFile(std::string_view title) override {
        asked.push_back("save:" + std::string(title));
        return saveReply;
    }
    bool confirm(std::string_view text) override { asked.emplace_back("confirm:").append(text); return confirmReply; }
    void showInformation(std::string_view title, std::string_view text) override {
        asked.push_back("info:" + std::string(title) + "|" + std::string(text));
    }
    std::string askOpenAnyFile(OwnerWindow, const std::string& folder) override {
        asked.push_back("file:" + folder);
        return openReply;
    }
    void showBox(OwnerWindow, std::string_view text, BoxIcon) override { asked.push_back("box:" + std::string(text)); }
    void showAlarmMessage(std::string_view name) override { asked.push_back("alarm:" + std::string(name)); }
    bool startSystemProgram(std::string_view program, std::string_view arguments) override {
        started.push_back(std::string(program) + (arguments.empty() ? "" : " ") + std::string(arguments));
        return startSucceeds;
    }
    bool openWithShell(std::string_view path) override { opened.emplace_back(path); return true; }

    std::string openReply, saveReply;
    bool confirmReply = true, startSucceeds = true;
    std::vector<std::string> asked, started, opened;
};

// Records every sound call in order: "mci:<command>", "play:<file>", "stop".
struct RecordingSoundDevice final : SoundDevice {
    void mciCommand(const std::string& command) override { calls.push_back("mci:" + command); }
    void playSystemSound(const std::string& file) override { calls.push_back("play:" + file); }
    void stopSystemSound() override { calls.emplace_back("stop"); }
    std::vector<std::string> calls;
};

// Records the system actions asked for ("lock", "logoff", "poweroff",
// "reboot", "keys") and the keys of every typeKeys call.
struct RecordingSystemActions final : SystemActions {
    void lockWorkStation() override { calls.emplace_back("lock"); }
    void logOff() override { calls.emplace_back("logoff"); }
    void powerOff() override { calls.emplace_back("poweroff"); }
    void reboot() override { calls.emplace_back("reboot"); }
    void typeKeys(const std::vector<KeyInput>& keys) override { calls.emplace_back("keys"); typed.push_back(keys); }
    std::vector<std::string> calls;
    std::vector<std::vector<KeyInput>> typed;
};

// Records "arm:<localSeconds>", "cancel", "awake:1"/"awake:0" and "display".
struct RecordingWakeTimer final : WakeTimer {
    bool arm(std::int64_t at) override { calls.push_back("arm:" + std::to_string(at)); return true; }
    void cancel() override { calls.emplace_back("cancel"); }
    void keepAwake(bool on) override { calls.emplace_back(on ? "awake:1" : "awake:0"); }
    void wakeDisplay() override { calls.emplace_back("display"); }
    std::vector<std::string> calls;
};

// A clock that says whatever the test sets.
struct TestClock final : Clock {
    LocalTime now() const override { return time; }
    std::uint64_t milliseconds() const override { return ms; }
    LocalTime time{1, 10, 0, 0, 4};  // Monday 1970-01-05, 10:00:00
    std::uint64_t ms = 0;
};

// An output in the state the test sets (nullopt: the query fails); records
// "session:<level>" and "out:<level>" for every change asked.
struct FakeAudioOutput final : AudioOutput {
    std::optional<OutputState> defaultOutput() override { return ++queries, state; }
    bool setOutput(float level, bool muted) override {
        return calls.push_back("out:" + std::to_string(level)), state && (state = OutputState{true, muted, level});
    }
    bool setSessionVolume(float level) override { return calls.push_back("session:" + std::to_string(level)), true; }
    std::optional<OutputState> state = OutputState{};
    int queries = 0;
    std::vector<std::string> calls;
};

// A Run entry in memory; finalPath resolves `link` to `target`.
struct FakeStartupRegistry final : StartupRegistry {
    std::optional<std::string> readEntry() override { return entry; }
    std::string writeEntry(const std::string& line) override { return error.empty() ? (entry = line, "") : error; }
    std::string removeEntry() override { return error.empty() ? (entry.reset(), "") : error; }
    std::string programPath() const override { return "C:\\Prog\\kolvialarm.exe"; }
    std::string finalPath(const std::string& path) const override { return path == link ? target : path; }
    std::optional<std::string> entry;
    std::string error, link, target;
};

}  // namespace kolvi::test
