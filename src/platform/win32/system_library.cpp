#include "platform/win32/system_library.h"

#include <objbase.h>

namespace kolvi::win32 {

HMODULE SystemLibrary::load() {
    if (!tried_) {
        tried_ = true;
        module_ = LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    return module_;
}

void enterShellApartment() {
    static bool entered = false;
    if (entered) return;
    entered = true;
    using CoInitializeExFunction = HRESULT WINAPI(LPVOID, DWORD);
    if (auto* initialise = ole32().function<CoInitializeExFunction>("CoInitializeEx")) {
        initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    }
}

SystemLibrary& ole32() {
    static SystemLibrary library(L"ole32.dll");
    return library;
}

SystemLibrary& shell32() {
    enterShellApartment();
    static SystemLibrary library(L"shell32.dll");
    return library;
}

SystemLibrary& comdlg32() {
    enterShellApartment();
    static SystemLibrary library(L"comdlg32.dll");
    return library;
}

SystemLibrary& winmm() {
    static SystemLibrary library(L"winmm.dll");
    return library;
}

}  // namespace kolvi::win32
