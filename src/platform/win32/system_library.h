#pragma once
// System DLLs the program needs only now and then (the file dialogs, the
// multimedia commands, the shell) are loaded on first use, from the system
// directory only, so that a start that never opens a dialog or plays a sound
// never maps them. Once loaded they stay for the life of the process.
#include <windows.h>

namespace kolvi::win32 {

class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) : name_(name) {}
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The function, or nullptr when the DLL or the function is not there.
    template <typename Function>
    Function* function(const char* procedure) {
        const HMODULE module = load();
        return module == nullptr ? nullptr : reinterpret_cast<Function*>(
                                                 reinterpret_cast<void*>(GetProcAddress(module, procedure)));
    }

private:
    HMODULE load();
    const wchar_t* name_;
    HMODULE module_ = nullptr;
    bool tried_ = false;
};

// The shell and the common dialogs expect the calling thread in a
// single-threaded COM apartment; this sets it up once, before their first call.
void enterShellApartment();

// COM itself; enterShellApartment before creating objects with it.
SystemLibrary& ole32();
SystemLibrary& shell32();
SystemLibrary& comdlg32();
SystemLibrary& winmm();

}  // namespace kolvi::win32
