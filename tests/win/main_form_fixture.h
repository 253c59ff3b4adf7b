#pragma once
// The real main window over real files in a temp directory, with recording
// fakes for everything that would reach past the window (dialogs, boxes,
// sounds, system actions) and a clock the test sets.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "mainwindow/win32/main_form.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "resource.h"
#include "settings/settings_file.h"
#include "store/alarm_file.h"
#include "support/fakes.h"
#include "support/win_files.h"

namespace kolvi::test {

class MainFormFixture : public ::testing::Test {
protected:
    MainFormFixture() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
    }

    // The settings file. The check's own timer is slowed to a minute so that
    // only the test's ticks, at the test clock's time, fire anything, and the
    // notification windows take keys at once (the typing guard has a test of
    // its own).
    void writeIni(std::string text) {
        const std::string alarm = "[alarm]\r\n";
        const std::size_t section = text.find(alarm);
        if (section == std::string::npos) {
            text += alarm + "keyguard=0\r\n";
        } else if (text.find("keyguard=") == std::string::npos) {
            text.insert(section + alarm.size(), "keyguard=0\r\n");
        }
        writeRaw(dir_.file("kolvialarm.ini"), "[time]\r\ninterval=60000\r\n" + text);
    }

    // Starts the window on the file at `path` ("" for the remembered one).
    void startForm(const std::string& path) {
        if (!fs_.isOrdinaryFile(settings_.path())) writeIni("");
        form_ = std::make_unique<MainForm>(MainFormServices{
            alarms_, context_, settings_, desktop_, clock_, system_, sound_,
            [this](HWND, const std::string& folder) {
                askedFolders_.push_back(folder);
                return chosenFile_;
            },
            [this](HWND, std::string_view text, UINT) { boxes_.emplace_back(text); }, &wake_});
        ASSERT_TRUE(form_->start(false, path));
        pump();
    }
    // Writes the alarm lines (after the version line) to list.alm and starts on it.
    void startWith(const std::string& lines) {
        writeAlarmFile(path_, "1.1\r\n" + lines);
        startForm(path_);
    }

    // Runs what is queued; the quit message of a closed window is dropped.
    static void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    HWND hwnd() const { return form_->hwnd(); }
    HWND lv() const { return form_->listView(); }
    void command(int id, bool accelerator = false) {
        SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, accelerator ? 1 : 0), 0);
        pump();
    }
    void tickAt(int hour, int minute, int second) {
        clock_.time = {1, hour, minute, second};
        form_->alarmTimer_Timer();
        pump();
    }

    void writeAlarmFile(const std::string& path, const std::string& utf8) { writeRaw(path, *codec_.encode(utf8)); }
    std::string fileText(const std::string& path) const { return codec_.decode(readRaw(path)).value_or("<bad>"); }
    std::string fileText() const { return fileText(path_); }
    std::string statusPanel() const {
        wchar_t text[256] = {};
        SendMessageW(form_->statusBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return win32::narrow(text);
    }
    static std::string windowText(HWND window) {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        return win32::narrow(text);
    }
    std::string cell(int item, int column) const {
        wchar_t buffer[512] = {};
        LVITEMW it{};
        it.iSubItem = column;
        it.pszText = buffer;
        it.cchTextMax = 512;
        SendMessageW(lv(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
        return win32::narrow(buffer);
    }
    // The middle of a row's label, where a user clicks on its name.
    POINT rowPoint(int item) const {
        RECT r{};
        ListView_GetItemRect(lv(), item, &r, LVIR_LABEL);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    POINT emptySpace() const {
        RECT client{};
        GetClientRect(lv(), &client);
        return {client.right / 2, client.bottom - 5};
    }
    void pressOnList(UINT down, UINT up, POINT at) {
        SendMessageW(lv(), down, 0, MAKELPARAM(at.x, at.y));
        SendMessageW(lv(), up, 0, MAKELPARAM(at.x, at.y));
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
    std::unique_ptr<MainForm> form_;
    // The editor's open-file dialog answers chosenFile_; its boxes are recorded.
    std::string chosenFile_;
    std::vector<std::string> askedFolders_, boxes_;
};

}  // namespace kolvi::test
