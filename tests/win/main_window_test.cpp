// The whole main window in-process: menus and their enabling rules,
// shortcuts, the master switch, the status bar, the file commands, the
// context menu, the tray and closing. Dialogs and boxes are answered by a
// recording desktop so that nothing modal waits for a person.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "resource.h"
#include "mainwindow/win32/main_form.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "win/main_form_fixture.h"

namespace kolvi::test {
namespace {

using win32::narrow;
using win32::widen;

const char* const kAlarms =
    "1.1\r\n"
    "1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n"
    "0,帰宅,1,1,1,1,1,1,1,18,00,00,lock,0\r\n";

class MainWindowTest : public MainFormFixture {
protected:
    void start(const std::string& path) { startForm(path); }
    void startWithAlarms() {
        writeAlarmFile(path_, kAlarms);
        start(path_);
    }

    HWND hwnd() const { return form_->hwnd(); }
    HMENU bar() const { return GetMenu(hwnd()); }
    void command(int id, bool accelerator = false) {
        SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, accelerator ? 1 : 0), 0);
        pump();
    }
    void openMenu(int position) {
        SendMessageW(hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar(), position)),
                     MAKELPARAM(position, FALSE));
    }
    bool grayed(int id) const { return (GetMenuState(bar(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) != 0; }
    bool checked(int id) const { return (GetMenuState(bar(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0; }
    bool topGrayed(int position) const {
        return (GetMenuState(bar(), static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0;
    }
    std::string title() const {
        wchar_t text[256] = {};
        GetWindowTextW(hwnd(), text, 256);
        return narrow(text);
    }
    std::string panel() const { return statusPanel(); }
    void pressOnList(UINT down, UINT up, POINT at) {
        SendMessageW(form_->listView(), down, 0, MAKELPARAM(at.x, at.y));
        SendMessageW(form_->listView(), up, 0, MAKELPARAM(at.x, at.y));
        pump();
    }
    POINT emptySpace() const {
        RECT client{};
        GetClientRect(form_->listView(), &client);
        return {client.right / 2, client.bottom - 5};
    }
    POINT rowPoint(int item) const {
        RECT r{};
        ListView_GetItemRect(form_->listView(), item, &r, LVIR_LABEL);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    std::string path_ = dir_.file("list.alm");
};

TEST_F(MainWindowTest, WithoutAFileTheAlarmCommandsAreOffShortcutsIncluded) {
    start("");
    EXPECT_EQ(title(), "Kolviアラーム");
    EXPECT_EQ(panel(), "ファイルを開くか、または新規作成して下さい。");
    EXPECT_TRUE(topGrayed(2));  // アラーム(&A)
    EXPECT_TRUE(grayed(IDM_FILE_SAVEAS));
    EXPECT_TRUE(grayed(IDM_FILE_CLOSE));
    EXPECT_TRUE((GetMenuState(GetSubMenu(bar(), 1), 3, MF_BYPOSITION) & MF_GRAYED) != 0);  // 整列(&S)
    EXPECT_FALSE(grayed(IDM_FILE_NEW));
    EXPECT_FALSE(grayed(IDM_FILE_OPEN));

    command(IDM_ALARM_ENABLE, true);  // F5 belongs to a disabled menu
    EXPECT_TRUE(form_->alarmTimerRunning());
    command(IDM_FILE_SAVEAS);
    EXPECT_TRUE(desktop_.asked.empty());

    // Opening a file brings everything back.
    writeRaw(path_, *codec_.encode(kAlarms));
    desktop_.openReply = path_;
    command(IDM_FILE_OPEN, true);
    EXPECT_EQ(title(), "list.alm - Kolviアラーム");
    EXPECT_FALSE(topGrayed(2));
    EXPECT_FALSE(grayed(IDM_FILE_SAVEAS));
    EXPECT_TRUE(IsWindowVisible(form_->listView()));
}

TEST_F(MainWindowTest, TheCurrentRowDecidesEditDeleteAndPreviewAndDelSavesAtOnce) {
    startWithAlarms();
    // Right after opening the first row is current though nothing is highlighted.
    openMenu(2);
    EXPECT_FALSE(grayed(IDM_ALARM_EDIT));
    EXPECT_FALSE(grayed(IDM_ALARM_DELETE));
    EXPECT_FALSE(grayed(IDM_ALARM_PREVIEW));

    pressOnList(WM_LBUTTONDOWN, WM_LBUTTONUP, emptySpace());
    openMenu(2);
    EXPECT_TRUE(grayed(IDM_ALARM_EDIT));
    EXPECT_TRUE(grayed(IDM_ALARM_DELETE));
    EXPECT_TRUE(grayed(IDM_ALARM_PREVIEW));
    EXPECT_FALSE(grayed(IDM_ALARM_ADD));
    command(IDM_ALARM_DELETE, true);
    EXPECT_EQ(fileText(path_), kAlarms);

    pressOnList(WM_LBUTTONDOWN, WM_LBUTTONUP, rowPoint(1));  // 帰宅
    command(IDM_ALARM_DELETE, true);
    EXPECT_EQ(fileText(path_), "1.1\r\n1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n");
    EXPECT_EQ(ListView_GetItemCount(form_->listView()), 1);
    openMenu(2);
    EXPECT_TRUE(grayed(IDM_ALARM_EDIT));  // no current row after a delete
}

TEST_F(MainWindowTest, TheMasterSwitchStopsTheCheckAndGreysTheList) {
    startWithAlarms();
    EXPECT_TRUE(form_->alarmTimerRunning());
    EXPECT_EQ(ListView_GetBkColor(form_->listView()), GetSysColor(COLOR_WINDOW));
    command(IDM_ALARM_ENABLE, true);
    EXPECT_FALSE(form_->alarmTimerRunning());
    EXPECT_EQ(panel(), "アラーム停止中");
    EXPECT_EQ(ListView_GetBkColor(form_->listView()), GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(checked(IDM_ALARM_ENABLE));
    command(IDM_ALARM_ENABLE);
    EXPECT_TRUE(form_->alarmTimerRunning());
    EXPECT_TRUE(checked(IDM_ALARM_ENABLE));
    EXPECT_EQ(ListView_GetBkColor(form_->listView()), GetSysColor(COLOR_WINDOW));
}

TEST_F(MainWindowTest, SortItemsToggleLikeHeaderClicksAndCarryTheCheckMark) {
    startWithAlarms();
    openMenu(1);
    EXPECT_TRUE(checked(IDM_VIEW_SORT_TIME));
    command(IDM_VIEW_SORT_NAME);
    command(IDM_VIEW_SORT_NAME);
    openMenu(1);
    EXPECT_TRUE(checked(IDM_VIEW_SORT_NAME));
    EXPECT_FALSE(checked(IDM_VIEW_SORT_TIME));
    EXPECT_EQ(list_.sortKey(), 1);
    EXPECT_EQ(list_.sortOrder(), 1);
    EXPECT_EQ(list_.column(1).header, "名前 ▽");
    command(IDM_VIEW_SORT_TIME);
    EXPECT_EQ(list_.sortKey(), 3);
    EXPECT_EQ(list_.sortOrder(), 0);
    EXPECT_EQ(fileText(path_), kAlarms);  // sorting saves nothing
}

TEST_F(MainWindowTest, AColumnWidthTheUserSetSurvivesSortingAndIsWrittenAtExit) {
    startWithAlarms();
    const int wide = MulDiv(321, static_cast<int>(form_->dpi()), 96);
    ListView_SetColumnWidth(form_->listView(), 4, wide);
    command(IDM_VIEW_SORT_NAME);
    command(IDM_ALARM_ENABLE);
    EXPECT_EQ(ListView_GetColumnWidth(form_->listView(), 4), wide);
    command(IDM_FILE_EXIT);
    EXPECT_EQ(settings_.readInt("list", "colwidth5", -1), 321);
    EXPECT_EQ(settings_.readInt("list", "sortkey", -1), 1);
}

TEST_F(MainWindowTest, HidingTheStatusBarGivesTheListTheWholeClientArea) {
    startWithAlarms();
    RECT client{}, listRect{}, statusRect{};
    GetClientRect(hwnd(), &client);
    GetWindowRect(form_->statusBar(), &statusRect);
    GetWindowRect(form_->listView(), &listRect);
    EXPECT_EQ(listRect.bottom - listRect.top, client.bottom - (statusRect.bottom - statusRect.top));
    command(IDM_VIEW_STATUS);
    EXPECT_FALSE(IsWindowVisible(form_->statusBar()));
    EXPECT_FALSE(checked(IDM_VIEW_STATUS));
    GetWindowRect(form_->listView(), &listRect);
    EXPECT_EQ(listRect.bottom - listRect.top, client.bottom);
}

TEST_F(MainWindowTest, NewSaveAsAndCloseGoThroughTheDialogs) {
    startWithAlarms();
    const std::string copy = dir_.file("copy.alm");
    desktop_.saveReply = copy;
    command(IDM_FILE_SAVEAS);
    EXPECT_EQ(fileText(copy), kAlarms);
    EXPECT_EQ(fileText(path_), kAlarms);
    EXPECT_EQ(title(), "copy.alm - Kolviアラーム");
    EXPECT_EQ(list_.tag(), "copy.alm");

    const std::string fresh = dir_.file("new.alm");
    desktop_.saveReply = fresh;
    command(IDM_FILE_NEW, true);
    EXPECT_EQ(desktop_.asked.back(), "save:新規作成");
    EXPECT_EQ(readRaw(fresh), "1.1\r\n");
    EXPECT_EQ(title(), "new.alm - Kolviアラーム");
    EXPECT_EQ(ListView_GetItemCount(form_->listView()), 0);
    EXPECT_TRUE(IsWindowVisible(form_->listView()));

    command(IDM_FILE_CLOSE);
    EXPECT_EQ(title(), "Kolviアラーム");
    EXPECT_FALSE(IsWindowVisible(form_->listView()));
    EXPECT_EQ(readRaw(fresh), "1.1\r\n");

    desktop_.openReply = "";  // cancelled: nothing happens
    command(IDM_FILE_OPEN);
    EXPECT_EQ(title(), "Kolviアラーム");
    EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(MainWindowTest, AFailedSaveAsKeepsTheOpenFile) {
    startWithAlarms();
    desktop_.saveReply = dir_.file("no such folder\\copy.alm");
    command(IDM_FILE_SAVEAS);
    ASSERT_EQ(messages_.errors.size(), 1u);
    EXPECT_EQ(messages_.errors[0], "ファイルを保存できません。\r\n" + desktop_.saveReply);
    EXPECT_EQ(title(), "list.alm - Kolviアラーム");
    EXPECT_EQ(list_.tag(), "list.alm");
    EXPECT_EQ(list_.rowCount(), 2u);
}

TEST_F(MainWindowTest, HelpVersionReadmeDateTimeAndVolume) {
    startWithAlarms();
    openMenu(3);
    EXPECT_TRUE(grayed(IDM_HELP_README));
    command(IDM_HELP_README);
    EXPECT_TRUE(desktop_.opened.empty());
    writeRaw(dir_.file("readme.txt"), "x");
    openMenu(3);
    EXPECT_FALSE(grayed(IDM_HELP_README));
    command(IDM_HELP_README);
    ASSERT_EQ(desktop_.opened.size(), 1u);
    EXPECT_EQ(desktop_.opened[0], dir_.file("readme.txt"));

    command(IDM_HELP_ABOUT);
    EXPECT_EQ(desktop_.asked.back(), "info:Kolviアラームのバージョン情報|Kolviアラーム\r\nversion 0.1.0");

    command(IDM_FILE_DATETIME);
    desktop_.startSucceeds = false;
    command(IDM_FILE_VOLUME);
    const std::vector<std::string> expected{"control.exe timedate.cpl", "sndvol.exe", "sndvol32.exe"};
    EXPECT_EQ(desktop_.started, expected);
}

// The context menu is modal; a thread timer looks at it while it is open
// and then closes it.
struct PopupSeen {
    HMENU menu = nullptr;
    UINT defaultItem = 0;
    bool editGrayed = false;
    bool addGrayed = true;
    bool opened = false;
};
PopupSeen g_popup;

void CALLBACK inspectPopup(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_popup.opened = true;
    g_popup.defaultItem = GetMenuDefaultItem(g_popup.menu, FALSE, 0);
    g_popup.editGrayed = (GetMenuState(g_popup.menu, IDM_POPUP_EDIT, MF_BYCOMMAND) & MF_GRAYED) != 0;
    g_popup.addGrayed = (GetMenuState(g_popup.menu, IDM_POPUP_ADD, MF_BYCOMMAND) & MF_GRAYED) != 0;
    EndMenu();
}

TEST_F(MainWindowTest, RightClickOffersEditOnARowAndAddOnEmptySpace) {
    startWithAlarms();
    g_popup = {};
    g_popup.menu = GetSubMenu(form_->popupMenus(), 0);
    SetTimer(nullptr, 0, 200, &inspectPopup);
    pressOnList(WM_RBUTTONDOWN, WM_RBUTTONUP, rowPoint(1));
    ASSERT_TRUE(g_popup.opened);
    EXPECT_EQ(g_popup.defaultItem, static_cast<UINT>(IDM_POPUP_EDIT));
    EXPECT_FALSE(g_popup.editGrayed);
    EXPECT_EQ(list_.currentPosition(), 1u);

    g_popup.opened = false;
    SetTimer(nullptr, 0, 200, &inspectPopup);
    pressOnList(WM_RBUTTONDOWN, WM_RBUTTONUP, emptySpace());
    ASSERT_TRUE(g_popup.opened);
    EXPECT_EQ(g_popup.defaultItem, static_cast<UINT>(IDM_POPUP_ADD));
    EXPECT_TRUE(g_popup.editGrayed);
    EXPECT_FALSE(g_popup.addGrayed);
    EXPECT_FALSE(list_.hasCurrentRow());

    // The menu key opens it too.
    g_popup.opened = false;
    SetTimer(nullptr, 0, 200, &inspectPopup);
    SendMessageW(form_->listView(), WM_KEYDOWN, VK_APPS, 0);
    EXPECT_TRUE(g_popup.opened);
}

TEST_F(MainWindowTest, MinimisingGoesToTheTrayAndADoubleClickBringsItBack) {
    startWithAlarms();
    ShowWindow(hwnd(), SW_MAXIMIZE);
    ShowWindow(hwnd(), SW_MINIMIZE);
    pump();
    EXPECT_TRUE(form_->tray().inTray());
    EXPECT_FALSE(IsWindowVisible(hwnd()));
    SendMessageW(hwnd(), WM_APP + 1, 0, WM_MOUSEMOVE);
    EXPECT_EQ(form_->tray().tip(), "Kolviアラーム\r\nlist.alm");
    SendMessageW(hwnd(), WM_APP + 1, 0, WM_LBUTTONUP);  // a single click does nothing
    EXPECT_FALSE(IsWindowVisible(hwnd()));
    SendMessageW(hwnd(), WM_APP + 1, 0, WM_LBUTTONDBLCLK);
    pump();
    EXPECT_TRUE(IsWindowVisible(hwnd()));
    EXPECT_TRUE(IsZoomed(hwnd()));
    EXPECT_FALSE(form_->tray().inTray());
}

TEST_F(MainWindowTest, TheCloseBoxAsksWhenSetButExitDoesNot) {
    writeRaw(dir_.file("kolvialarm.ini"), "[window]\r\ncloseconfirm=1\r\n");
    startWithAlarms();
    desktop_.confirmReply = false;
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(hwnd()));
    EXPECT_EQ(desktop_.asked.back(), "confirm:終了するとアラームは停止します。");
    const std::size_t asked = desktop_.asked.size();
    const HWND window = hwnd();
    command(IDM_FILE_EXIT);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(desktop_.asked.size(), asked);
    // The settings were written at exit, the file tag among them.
    EXPECT_EQ(settings_.readString("list", "lastopen", "?"), "list.alm");
    EXPECT_EQ(settings_.readInt("window", "state", -1), 0);
    EXPECT_EQ(settings_.readInt("list", "colwidth3", -1), 100);
}

}  // namespace
}  // namespace kolvi::test
