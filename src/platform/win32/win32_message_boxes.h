#pragma once
#include <windows.h>

#include "platform/message_boxes.h"

namespace kolvi::win32 {

class Win32MessageBoxes final : public MessageBoxes {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    void showError(std::string_view text) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace kolvi::win32
