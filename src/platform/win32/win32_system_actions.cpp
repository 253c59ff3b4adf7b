#include "platform/win32/win32_system_actions.h"

#include <windows.h>

#include "platform/keys.h"
#include "platform/win32/unique_handle.h"

namespace kolvi::win32 {
namespace {

// The portable code numbers keys as Windows does.
static_assert(vk::kCancel == VK_CANCEL && vk::kBack == VK_BACK && vk::kTab == VK_TAB && vk::kReturn == VK_RETURN);
static_assert(vk::kShift == VK_SHIFT && vk::kControl == VK_CONTROL && vk::kMenu == VK_MENU);
static_assert(vk::kCapital == VK_CAPITAL && vk::kEscape == VK_ESCAPE && vk::kSpace == VK_SPACE);
static_assert(vk::kPrior == VK_PRIOR && vk::kNext == VK_NEXT && vk::kEnd == VK_END && vk::kHome == VK_HOME);
static_assert(vk::kLeft == VK_LEFT && vk::kUp == VK_UP && vk::kRight == VK_RIGHT && vk::kDown == VK_DOWN);
static_assert(vk::kSnapshot == VK_SNAPSHOT && vk::kInsert == VK_INSERT && vk::kDelete == VK_DELETE);
static_assert(vk::kHelp == VK_HELP && vk::kApps == VK_APPS && vk::kMultiply == VK_MULTIPLY && vk::kAdd == VK_ADD);
static_assert(vk::kSubtract == VK_SUBTRACT && vk::kDivide == VK_DIVIDE && vk::kF1 == VK_F1 && vk::kF10 == VK_F10);
static_assert(vk::kNumLock == VK_NUMLOCK && vk::kScroll == VK_SCROLL);

// A planned, unforced request: programs with unsaved work may still object.
constexpr DWORD kShutdownReason = SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;

// Power off and reboot need the shutdown privilege switched on in our token.
void enableShutdownPrivilege() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
    UniqueKernelHandle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
}

bool isExtendedKey(unsigned vk) {
    switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_NUMLOCK:
    case VK_DIVIDE:
    case VK_SNAPSHOT:
    case VK_CANCEL:
        return true;
    default:
        return false;
    }
}

INPUT keyboardInput(WORD vk, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

}  // namespace

void Win32SystemActions::lockWorkStation() { LockWorkStation(); }

void Win32SystemActions::logOff() { ExitWindowsEx(EWX_LOGOFF, kShutdownReason); }

void Win32SystemActions::powerOff() {
    enableShutdownPrivilege();
    ExitWindowsEx(EWX_POWEROFF, kShutdownReason);
}

void Win32SystemActions::reboot() {
    enableShutdownPrivilege();
    ExitWindowsEx(EWX_REBOOT, kShutdownReason);
}

void Win32SystemActions::typeKeys(const std::vector<KeyInput>& keys) {
    std::vector<INPUT> inputs;
    inputs.reserve(keys.size() * 2);
    for (const KeyInput& key : keys) {
        if (key.kind == KeyInput::Kind::character) {
            // Typed as Unicode, so the text does not depend on the keyboard
            // layout; characters beyond the BMP go as a surrogate pair.
            wchar_t units[2];
            int count = 1;
            if (key.code > 0xFFFF) {
                const unsigned v = key.code - 0x10000;
                units[0] = static_cast<wchar_t>(0xD800 + (v >> 10));
                units[1] = static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
                count = 2;
            } else {
                units[0] = static_cast<wchar_t>(key.code);
            }
            for (int i = 0; i < count; ++i) {
                inputs.push_back(keyboardInput(0, static_cast<WORD>(units[i]), KEYEVENTF_UNICODE));
                inputs.push_back(keyboardInput(0, static_cast<WORD>(units[i]), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
            }
        } else {
            DWORD flags = key.keyUp ? KEYEVENTF_KEYUP : 0;
            if (isExtendedKey(key.code)) flags |= KEYEVENTF_EXTENDEDKEY;
            const auto scan = static_cast<WORD>(MapVirtualKeyW(key.code, MAPVK_VK_TO_VSC));
            inputs.push_back(keyboardInput(static_cast<WORD>(key.code), scan, flags));
        }
    }
    if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace kolvi::win32
