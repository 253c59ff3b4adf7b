#pragma once
// One subclass of one control, owned by an object: installed by attach(),
// removed when the object goes or the control is destroyed, whichever comes
// first. The handler runs guarded (no exception reaches user32) and returns
// nullopt to let the control's own procedure have the message.
#include <windows.h>

#include <functional>
#include <optional>

namespace kolvi::win32 {

class ControlSubclass {
public:
    using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

    ControlSubclass() = default;
    ControlSubclass(const ControlSubclass&) = delete;
    ControlSubclass& operator=(const ControlSubclass&) = delete;
    ~ControlSubclass() { detach(); }

    bool attach(HWND control, Handler handler);
    void detach();
    HWND control() const { return control_; }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR data);
    HWND control_ = nullptr;
    Handler handler_;
};

}  // namespace kolvi::win32
