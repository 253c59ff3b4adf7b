#pragma once
// The real main window over real files in a temp directory, with recording
// fakes for everything that would reach past the window (dialogs, boxes,
// sounds, system actions) and a clock the test sets.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "mainwindow/win32/main_form.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "settings/settings_file.h"
#include "store/alarm_file.h"
#include "support/fakes.h"
#include "win/temp_dir.h"

namespace kolvi::test {

class MainFormFixture : public ::testing::Test {
protected:
    MainFormFixture() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
    }

    // Starts the window on the file at `path` ("" for the remembered one).
    void startForm(const std::string& path) {
        form_ = std::make_unique<MainForm>(
            MainFormServices{list_, context_, settings_, desktop_, clock_, system_, sound_});
        ASSERT_TRUE(form_->start(false, path));
        pump();
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

    void writeAlarmFile(const std::string& path, const std::string& utf8) { writeRaw(path, *codec_.encode(utf8)); }
    std::string fileText(const std::string& path) const { return codec_.decode(readRaw(path)).value_or("<bad>"); }
    std::string statusPanel() const {
        wchar_t text[256] = {};
        SendMessageW(form_->statusBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return win32::narrow(text);
    }

    TempDir dir_;
    win32::Win32FileSystem fs_;
    win32::Win32Codec codec_;
    RecordingMessageBoxes messages_;
    RecordingDesktop desktop_;
    TestClock clock_;
    RecordingSystemActions system_;
    RecordingSoundDevice sound_;
    SettingsFile settings_{fs_, codec_, dir_.file("kolvialarm.ini")};
    AlarmFileContext context_{fs_, codec_, messages_, settings_, dir_.path()};
    AlarmList list_;
    std::unique_ptr<MainForm> form_;
};

}  // namespace kolvi::test
