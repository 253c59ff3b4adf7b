#pragma once
// No C++ exception may cross a window, dialog or subclass procedure: user32
// would unwind through frames that know nothing of it. Every procedure of the
// program runs its handler through guarded(), which catches whatever escapes,
// tells the user in an error box and lets the window go on with the fallback
// result.
#include <exception>
#include <utility>

namespace kolvi::win32 {

// "予期しないエラーが発生しました。", CR LF and the fault's text, in an error
// box titled with the program title. Never throws.
void reportUnexpectedError(const char* what) noexcept;

template <typename Result, typename Body>
Result guarded(Result fallback, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& e) {
        reportUnexpectedError(e.what());
    } catch (...) {
        reportUnexpectedError("");
    }
    return fallback;
}

}  // namespace kolvi::win32
