#include "platform/win32/win32_message_boxes.h"

#include "texts/common_texts.h"
#include "platform/win32/text.h"

namespace kolvi::win32 {

void Win32MessageBoxes::showError(std::string_view text) {
    const HWND owner = owner_ != nullptr && IsWindow(owner_) ? owner_ : nullptr;
    MessageBoxW(owner, widen(text).c_str(), widen(kProgramTitle).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace kolvi::win32
