// No exception crosses a window, dialog or subclass procedure: each kind
// reports the fault in an error box and goes on working.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/win32/control_subclass.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/text.h"
#include "platform/win32/window_base.h"
#include "resource.h"

namespace kolvi::test {
namespace {

constexpr UINT kThrow = WM_APP + 10;
constexpr UINT kPing = WM_APP + 11;

// The error box runs its own loop; a thread timer reads it and closes it.
std::string g_boxTitle, g_boxText;

BOOL CALLBACK findBox(HWND hwnd, LPARAM) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t title[64] = {}, text[256] = {};
    GetWindowTextW(hwnd, title, 64);
    GetDlgItemTextW(hwnd, 0xFFFF, text, 256);  // the box's message line
    g_boxTitle = win32::narrow(title);
    g_boxText = win32::narrow(text);
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK closeBox(HWND, UINT, UINT_PTR id, DWORD) {
    if (EnumWindows(&findBox, 0) == FALSE) KillTimer(nullptr, id);
}

// Sends kThrow to the window and returns what the box said.
std::string faultReported(HWND window) {
    g_boxTitle.clear();
    g_boxText.clear();
    SetTimer(nullptr, 0, 100, &closeBox);
    SendMessageW(window, kThrow, 0, 0);
    EXPECT_EQ(g_boxTitle, "Kolviアラーム");
    return g_boxText;
}

class ThrowingWindow final : public win32::WindowBase {
public:
    bool create() {
        return createWindow(L"KolviGuardTest", nullptr, 0, WS_POPUP, L"", 0, 0, 10, 10, nullptr, nullptr);
    }

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrow) throw std::runtime_error("window fault");
        if (message == kPing) return 42;
        return WindowBase::handleMessage(message, wParam, lParam);
    }
};

class ThrowingDialog final : public win32::DialogBase {
private:
    INT_PTR handleMessage(UINT message, WPARAM, LPARAM) override {
        if (message == kThrow) throw std::length_error("dialog fault");
        if (message == kPing) {
            SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, 42);
            return TRUE;
        }
        return FALSE;
    }
};

TEST(ProcGuardTest, EachKindOfProcedureReportsAFaultAndKeepsWorking) {
    ThrowingWindow window;
    ASSERT_TRUE(window.create());
    EXPECT_EQ(faultReported(window.hwnd()), "予期しないエラーが発生しました。\r\nwindow fault");
    EXPECT_EQ(SendMessageW(window.hwnd(), kPing, 0, 0), 42);

    ThrowingDialog dialog;
    ASSERT_TRUE(dialog.createModeless(IDD_SOUNDFORM, nullptr));
    EXPECT_EQ(faultReported(dialog.hwnd()), "予期しないエラーが発生しました。\r\ndialog fault");
    EXPECT_EQ(SendMessageW(dialog.hwnd(), kPing, 0, 0), 42);

    // A control's subclass: the control goes on with its own procedure.
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    win32::ControlSubclass subclass;
    ASSERT_TRUE(subclass.attach(edit, [](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == kThrow) throw 7;  // not even an exception class
        return std::nullopt;
    }));
    EXPECT_EQ(faultReported(edit), "予期しないエラーが発生しました。\r\n");
    SetWindowTextW(edit, L"still here");
    EXPECT_EQ(GetWindowTextLengthW(edit), 10);
    DestroyWindow(edit);
    EXPECT_EQ(subclass.control(), nullptr);  // it let go when the control went
}

// The modal loop of the dialog base gives the program's filter every message
// and keeps the owner disabled until the dialog is gone.
class CountingFilter final : public win32::MessageFilter {
public:
    bool preTranslateMessage(MSG& message) override {
        if (message.message == WM_KEYDOWN && message.wParam == 'Z') {
            ownerEnabledMeanwhile = IsWindowEnabled(owner) != 0;
            dialog->endDialog(7);
            return true;
        }
        return false;
    }
    win32::DialogBase* dialog = nullptr;
    HWND owner = nullptr;
    bool ownerEnabledMeanwhile = true;
};

HWND g_dialogToPoke = nullptr;
void CALLBACK poke(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(GetDlgItem(g_dialogToPoke, IDCANCEL), WM_KEYDOWN, 'Z', 0);
}

class PokedDialog final : public win32::DialogBase {
private:
    INT_PTR form_Load() override {
        g_dialogToPoke = hwnd();
        SetTimer(nullptr, 0, 50, &poke);
        return TRUE;
    }
};

TEST(DialogBaseTest, TheModalLoopRunsTheProgramsFilterAndFreesTheOwnerAfterwards) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    PokedDialog dialog;
    CountingFilter filter;
    filter.dialog = &dialog;
    filter.owner = owner;
    EXPECT_EQ(dialog.runModal(IDD_SOUNDFORM, owner, &filter), 7);
    EXPECT_FALSE(filter.ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(dialog.hwnd(), nullptr);
    DestroyWindow(owner);
}

}  // namespace
}  // namespace kolvi::test
