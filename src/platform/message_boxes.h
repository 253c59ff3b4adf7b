#pragma once
// Message boxes the logic shows. All are titled with the program title.
#include <string_view>

namespace kolvi {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Error icon, OK button.
    virtual void showError(std::string_view text) = 0;
};

}  // namespace kolvi
