#pragma once
// The real main window over real files in a temp directory, with recording
// fakes for everything that would reach past it (dialogs, boxes, sounds,
// system actions, the wake timer) and a clock the test sets.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "mainwindow/win32/main_form.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "resource.h"
#include "support/fakes.h"
#include "win/win_files.h"

namespace kolvi::test {

// Runs what is queued; the quit message of a closed window is dropped.
inline void pump() {
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
    }
}
// Pumps until `done` holds. The limit only turns a hang into a failure: it is
// far beyond what the slowest machine needs.
template <typename Done>
bool pumpUntil(Done done) {
    for (const ULONGLONG end = GetTickCount64() + 30000; !done() && GetTickCount64() < end; Sleep(10)) pump();
    return done();
}

// Runs `step` once, `ms` from now, from inside whatever modal loop (a menu,
// a dialog, a message box) is running by then; one step waits at a time.
inline std::function<void()> g_later;
inline void later(UINT ms, std::function<void()> step) {
    g_later = std::move(step);
    SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (const auto run = std::exchange(g_later, nullptr)) run();
    });
}

// A notification area of the test's own: it holds icons by window and id,
// refuses to add one it already holds (as a restarted shell may), and keeps
// each icon's tip.
struct TestTray {
    static inline std::map<std::pair<HWND, UINT>, std::wstring> icons;
    static BOOL WINAPI notify(DWORD message, PNOTIFYICONDATAW data) {
        const auto key = std::pair(data->hWnd, data->uID);
        if ((message == NIM_ADD) == (icons.count(key) != 0)) return FALSE;
        return message == NIM_DELETE ? icons.erase(key) != 0 : (icons[key] = data->szTip, TRUE);
    }
};

class MainFormFixture : public ::testing::Test {
protected:
    // The check's own timer is slowed to a minute, so that only the test's
    // ticks fire anything; notification windows take keys at once unless
    // `alarm` sets keyguard itself (the first value of a key counts).
    void writeIni(const std::string& alarm, const std::string& others = "") {
        writeRaw(dir_.file("kolvialarm.ini"), "[time]\r\ninterval=60000\r\n[alarm]\r\n" + alarm + "keyguard=0\r\n" + others);
    }
    // Starts the window on list.alm holding the version line and `lines`, or
    // on the remembered file when `lines` is null.
    void start(const char* lines) {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        if (!fs_.isOrdinaryFile(settings_.path())) writeIni("");
        if (lines != nullptr) writeRaw(path_, *codec_.encode(std::string("1.1\r\n") + lines));
        TestTray::icons.clear();
        form_ = std::make_unique<MainForm>(MainFormServices{alarms_, context_, settings_, desktop_, clock_, system_,
                                                            sound_, &wake_, &TestTray::notify, audio_, startup_});
        ASSERT_TRUE(form_->start(false, lines != nullptr ? path_ : ""));
        pump();
    }

    HWND hwnd() const { return form_->hwnd(); }
    void tick() const { SendMessageW(hwnd(), WM_TIMER, MainForm::kAlarmTimerId, 0); }
    HWND lv() const { return form_->listView(); }
    void command(int id, bool accelerator = false) {
        SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, accelerator ? 1 : 0), 0);
        pump();
    }
    void tickAt(int hour, int minute, int second) {
        clock_.time = {clock_.time.weekday, hour, minute, second, clock_.time.day};
        tick();
        pump();
    }
    std::string fileText() const { return codec_.decode(readRaw(path_)).value_or("<bad>"); }
    int selectedRow() const { return ListView_GetNextItem(lv(), -1, LVNI_SELECTED); }
    // The middle of a row's label, where a user clicks on its name; for -1,
    // empty space below the rows.
    POINT rowPoint(int item) const {
        RECT r{};
        if (item < 0 && GetClientRect(lv(), &r)) return {r.right / 2, r.bottom - 5};
        ListView_GetItemRect(lv(), item, &r, LVIR_LABEL);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void click(POINT at, UINT down = WM_LBUTTONDOWN) {
        SendMessageW(lv(), down, 0, MAKELPARAM(at.x, at.y));
        SendMessageW(lv(), down + 1, 0, MAKELPARAM(at.x, at.y));  // the button's release
        pump();
    }

    TempDir dir_;
    std::string path_ = dir_.file("list.alm");
    win32::Win32FileSystem fs_;
    win32::Win32Codec codec_;
    RecordingMessageBoxes messages_;
    RecordingDesktop desktop_;
    TestClock clock_;
    RecordingSystemActions system_;
    RecordingSoundDevice sound_;
    RecordingWakeTimer wake_;
    SettingsFile settings_{fs_, codec_, dir_.file("kolvialarm.ini")};
    AlarmFileContext context_{fs_, codec_, messages_, settings_, dir_.path()};
    AlarmList alarms_;
    AudioOutput* audio_ = nullptr;
    StartupRegistry* startup_ = nullptr;
    std::unique_ptr<MainForm> form_;
};

}  // namespace kolvi::test
