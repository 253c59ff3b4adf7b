// The main window from the real resources over real files: what the list
// view, its header, the menus and the status bar show; where real clicks,
// commands and shortcuts lead; the context menu, the tray and the exit.
#include "win/main_form_fixture.h"

#include <algorithm>

namespace kolvi::test {
namespace {

const char* const kThreeAlarms =
    "1,朝会,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0\r\n"
    "0,帰宅,1,1,1,1,1,1,1,18,00,00,lock,0\r\n"
    "1,表ソ,0,0,0,0,0,0,1,07,05,00,,1\r\n";

class MainFormTest : public MainFormFixture {
protected:
    // The menu as the user would find it opened: rendered afresh.
    UINT menuState(int id, UINT by = MF_BYCOMMAND) {
        SendMessageW(hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(hwnd()), 2)), 2);
        return GetMenuState(GetMenu(hwnd()), static_cast<UINT>(id), by);
    }
    std::string header(int column) const {
        wchar_t buffer[64] = {};
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT;
        c.pszText = buffer;
        c.cchTextMax = 64;
        ListView_GetColumn(lv(), column, &c);
        return win32::narrow(buffer);
    }
    std::string cell(int item, int column) const {
        wchar_t buffer[256] = {};
        ListView_GetItemText(lv(), item, column, buffer, 256);
        return win32::narrow(buffer);
    }
    bool checkedInControl(int item) const { return (ListView_GetItemState(lv(), item, LVIS_STATEIMAGEMASK) >> 12) == 2; }
};

TEST_F(MainFormTest, TheListShowsTheFileFromItsTopAndTheWindowRendersTheSortAndTheSwitch) {
    // The first line sorts last in a list too long for the window; at the
    // test clock's 10:00:00 the sixty rows "r" are due.
    std::string lines = "1,最後,1,1,1,1,1,1,1,23,59,00,,0\r\n" + std::string(kThreeAlarms);
    for (int i = 0; i < 60; ++i) lines += "1,r,1,1,1,1,1,1,1,10,00,00,,0\r\n";
    start(lines.c_str());
    EXPECT_EQ(textOf(hwnd()), "list.alm - Kolviアラーム");
    EXPECT_EQ(ListView_GetTopIndex(lv()), 0);
    EXPECT_EQ(ListView_GetSelectedCount(lv()), 0u);  // the first row is current, but not highlighted yet

    const HWND headerWindow = ListView_GetHeader(lv());
    RECT r{};
    Header_GetItemRect(headerWindow, 3, &r);  // 時刻, already ascending: toggles
    SendMessageW(headerWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, r.bottom / 2));
    SendMessageW(headerWindow, WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, r.bottom / 2));
    EXPECT_EQ(header(3) + " " + cell(0, 1), "時刻 ▽ 最後");
    command(IDM_VIEW_SORT_NAME);
    EXPECT_EQ(header(1) + " " + header(3), "名前 △ 時刻");
    EXPECT_EQ(fileText(), "1.1\r\n" + lines);  // sorting saves nothing

    command(IDM_ALARM_ENABLE, true);
    SendMessageW(hwnd(), WM_TIMER, 1, 0);  // queued before the check stopped: no tick
    EXPECT_TRUE(desktop_.asked.empty());
    EXPECT_EQ(textOf(form_->statusBar()), "アラーム停止中");
    EXPECT_EQ(ListView_GetBkColor(lv()), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(menuState(IDM_ALARM_ENABLE) & MF_CHECKED, 0u);
    command(IDM_ALARM_ENABLE, true);
    EXPECT_EQ(ListView_GetBkColor(lv()), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(menuState(IDM_ALARM_ENABLE) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
}

// Real mouse input: only the check box itself ticks or clears a row; a click
// anywhere in a row (the box included) makes it current and highlighted.
TEST_F(MainFormTest, OnlyTheCheckBoxTicksARowAndAnyClickInTheRowMakesItCurrent) {
    start(kThreeAlarms);
    SetForegroundWindow(hwnd());
    const auto realClick = [&](POINT at, int row) {
        Sleep(GetDoubleClickTime() + 50);  // one click each, never a double-click
        ClientToScreen(lv(), &at);
        // The place goes with the press: a cursor set beforehand may not
        // have reached the display yet.
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input[0].mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, input, sizeof(INPUT));
        for (int i = 0; i < 300 && selectedRow() != row; ++i, Sleep(10)) pump();  // real input comes when it comes
        for (int i = 0; i < 10; ++i, Sleep(10)) pump();
    };
    RECT client{};  // the last column may run past the list's edge
    GetClientRect(lv(), &client);
    for (int column = 0; column < 6; ++column) {
        RECT r{};
        ListView_GetSubItemRect(lv(), 1, column, column == 0 ? LVIR_LABEL : LVIR_BOUNDS, &r);
        realClick({std::min((r.left + r.right) / 2, (r.left + client.right) / 2), (r.top + r.bottom) / 2}, 1);
        EXPECT_TRUE(checkedInControl(1)) << "column " << column;
        EXPECT_EQ(selectedRow(), 1) << "column " << column;
        click(emptySpace());
    }
    EXPECT_EQ(fileText(), "1.1\r\n" + std::string(kThreeAlarms));

    RECT bounds{};  // the check box of 帰宅: on, and current
    ListView_GetItemRect(lv(), 2, &bounds, LVIR_BOUNDS);
    LVHITTESTINFO hit{{bounds.left, (bounds.top + bounds.bottom) / 2}, 0, 0, 0, 0};
    const auto onBox = [&] { return ListView_HitTest(lv(), &hit) == 2 && (hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON; };
    while (hit.pt.x < bounds.right && !onBox()) ++hit.pt.x;
    realClick(hit.pt, 2);
    EXPECT_TRUE(checkedInControl(2));
    EXPECT_EQ(alarms_.currentPosition(), 2u);
    EXPECT_NE(fileText().find("1,帰宅,"), std::string::npos);
    SendMessageW(lv(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_NE(fileText().find("0,帰宅,"), std::string::npos);
}

TEST_F(MainFormTest, CommandsReachTheirHandlersWhileTheFileAndTheCurrentRowAllow) {
    writeRaw(dir_.file("readme.txt"), "x");
    start(kThreeAlarms);
    const struct {
        int id;
        std::string reached;  // the start of what the desktop was asked
    } routes[] = {{IDM_FILE_NEW, "save:新規作成;"}, {IDM_FILE_OPEN, "open;"}, {IDM_FILE_SAVEAS, "save:;"},
                  {IDM_FILE_DATETIME, "control.exe timedate.cpl;"}, {IDM_FILE_VOLUME, "sndvol.exe;"},
                  {IDM_HELP_README, dir_.file("readme.txt") + ";"}, {IDM_HELP_ABOUT, "info:Kolviアラームのバージョン情報|"}};
    for (const auto& route : routes) {
        command(route.id);
        std::string reached;
        for (auto* calls : {&desktop_.asked, &desktop_.opened, &desktop_.started}) {
            for (const std::string& call : *calls) reached += call + ";";
            calls->clear();
        }
        EXPECT_EQ(reached.substr(0, route.reached.size()), route.reached) << route.id;
    }
    NMHDR doubleClick{form_->statusBar(), 0, static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&doubleClick));
    EXPECT_EQ(desktop_.started, std::vector<std::string>{"control.exe timedate.cpl"});

    command(IDM_FILE_CLOSE);
    EXPECT_EQ(textOf(hwnd()), "Kolviアラーム");
    EXPECT_FALSE(IsWindowVisible(lv()));
    EXPECT_NE(menuState(2, MF_BYPOSITION) & MF_GRAYED, 0u);  // the alarm menu
    command(IDM_ALARM_ENABLE, true);  // the shortcut of a disabled menu does nothing
    EXPECT_TRUE(form_->alarmTimerRunning());
    desktop_.openReply = path_;
    command(IDM_FILE_OPEN, true);
    click(emptySpace());  // no current row: nothing to delete
    EXPECT_NE(menuState(IDM_ALARM_DELETE) & MF_GRAYED, 0u);
    click(rowPoint(2));  // 帰宅
    command(IDM_ALARM_DELETE, true);
    EXPECT_EQ(ListView_GetItemCount(lv()), 2);
    EXPECT_EQ(fileText().find("帰宅"), std::string::npos);
}

// The context menu is modal: a timer looks at it while it is open, then
// closes it.
TEST_F(MainFormTest, TheContextMenuActsOnTheRowItWasOpenedFor) {
    start(kThreeAlarms);
    const HMENU popup = GetSubMenu(form_->popupMenus(), 0);
    UINT defaultItem = 0;
    const auto popUpAt = [&](POINT at, std::function<void()> meanwhile) {
        later(200, [&, meanwhile] {
            meanwhile();
            defaultItem = GetMenuDefaultItem(popup, FALSE, 0);
            EndMenu();
        });
        click(at, WM_RBUTTONDOWN);
    };
    popUpAt(rowPoint(1), [] {});
    EXPECT_EQ(defaultItem, static_cast<UINT>(IDM_POPUP_EDIT));
    EXPECT_EQ(alarms_.currentPosition(), 1u);
    popUpAt(emptySpace(), [] {});
    EXPECT_EQ(defaultItem, static_cast<UINT>(IDM_POPUP_ADD));
    EXPECT_NE(GetMenuState(popup, IDM_POPUP_EDIT, MF_BYCOMMAND) & MF_GRAYED, 0u);
    // An alarm fires while the menu is open and becomes current; 削除 still
    // deletes the row the menu was opened for.
    popUpAt(rowPoint(2), [&] {
        clock_.time.hour = 9;  // 朝会
        form_->alarmTimer_Timer();
        PostMessageW(hwnd(), WM_COMMAND, IDM_POPUP_DELETE, 0);
    });
    pump();
    EXPECT_EQ(form_->runner().openWindows(), 1u);
    EXPECT_NE(fileText().find("朝会"), std::string::npos);
    EXPECT_EQ(fileText().find("帰宅"), std::string::npos);
}

// Minimised, the window waits in the tray and a double click on the icon
// brings it back as it was; the close box asks first, the exit does not, and
// either way the window's state is written.
TEST_F(MainFormTest, TheTrayRestoresTheWindowAndOnlyTheCloseBoxAsksBeforeTheStateIsWritten) {
    writeIni("", "[window]\r\ncloseconfirm=1\r\n");
    start(kThreeAlarms);
    ListView_SetColumnWidth(lv(), 4, MulDiv(321, static_cast<int>(form_->dpi()), 96));
    command(IDM_VIEW_SORT_NAME);  // the user's width survives a refresh
    ShowWindow(hwnd(), SW_MAXIMIZE);
    ShowWindow(hwnd(), SW_MINIMIZE);
    pump();
    EXPECT_TRUE(form_->tray().inTray());
    EXPECT_FALSE(IsWindowVisible(hwnd()));
    SendMessageW(hwnd(), WM_APP + 1, 0, WM_MOUSEMOVE);
    EXPECT_EQ(form_->tray().tip(), "Kolviアラーム\r\nlist.alm");
    SendMessageW(hwnd(), WM_APP + 1, 0, WM_LBUTTONDBLCLK);
    pump();
    EXPECT_TRUE(IsWindowVisible(hwnd()) && IsZoomed(hwnd()));
    EXPECT_FALSE(form_->tray().inTray());

    desktop_.confirmReply = false;
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(hwnd()));
    command(IDM_FILE_EXIT);
    EXPECT_FALSE(IsWindow(hwnd()));
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"confirm:終了するとアラームは停止します。"});
    EXPECT_EQ(settings_.readInt("list", "colwidth5", -1), 321);
    EXPECT_EQ(settings_.readInt("window", "state", -1), 2);  // maximised
}

}  // namespace
}  // namespace kolvi::test
