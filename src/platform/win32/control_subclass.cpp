#include "platform/win32/control_subclass.h"

#include <commctrl.h>

#include "platform/win32/proc_guard.h"

namespace kolvi::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

bool ControlSubclass::attach(HWND control, Handler handler) {
    detach();
    handler_ = std::move(handler);
    if (control == nullptr || !SetWindowSubclass(control, &ControlSubclass::proc, kSubclassId,
                                                 reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    control_ = control;
    return true;
}

void ControlSubclass::detach() {
    if (control_ == nullptr) return;
    RemoveWindowSubclass(control_, &ControlSubclass::proc, kSubclassId);
    control_ = nullptr;
}

LRESULT CALLBACK ControlSubclass::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
    auto* self = reinterpret_cast<ControlSubclass*>(data);
    if (message == WM_NCDESTROY) {
        // The control goes first: nothing of ours may run on it afterwards.
        self->detach();
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    const std::optional<LRESULT> handled =
        guarded(std::optional<LRESULT>(), [&] { return self->handler_(message, wParam, lParam); });
    return handled ? *handled : DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace kolvi::win32
