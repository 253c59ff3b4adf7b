#pragma once
// Recording fakes of the platform services for native tests.
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/message_boxes.h"

namespace kolvi::test {

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void showError(std::string_view text) override { errors.emplace_back(text); }
    std::vector<std::string> errors;
};

// Answers dialogs with prepared replies and records everything asked.
class RecordingDesktop final : public Desktop {
public:
    std::string askOpenAlarmFile() override {
        asked.push_back("open");
        return openReply;
    }
    std::string askSaveAlarmFile(std::string_view title) override {
        asked.push_back("save:" + std::string(title));
        return saveReply;
    }
    bool confirm(std::string_view text) override {
        asked.push_back("confirm:" + std::string(text));
        return confirmReply;
    }
    void showInformation(std::string_view title, std::string_view text) override {
        asked.push_back("info:" + std::string(title) + "|" + std::string(text));
    }
    bool startCommandLine(std::string_view commandLine) override {
        started.emplace_back(commandLine);
        return startSucceeds;
    }
    bool openWithShell(std::string_view path) override {
        opened.emplace_back(path);
        return true;
    }

    std::string openReply, saveReply;
    bool confirmReply = true;
    bool startSucceeds = true;
    std::vector<std::string> asked, started, opened;
};

}  // namespace kolvi::test
