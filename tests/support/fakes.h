#pragma once
// Recording fakes of the platform services for native tests.
#include <string>
#include <vector>

#include "platform/message_boxes.h"

namespace kolvi::test {

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void showError(std::string_view text) override { errors.emplace_back(text); }
    std::vector<std::string> errors;
};

}  // namespace kolvi::test
