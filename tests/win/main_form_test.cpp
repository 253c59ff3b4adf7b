// The main window from the real resources over real files: what the list
// view, its header, the menus and the status bar show; where real clicks,
// commands and shortcuts lead; the context menu, the tray, the exit and the
// alarm editor.
#include "win/main_form_fixture.h"

#include <imm.h>

#include <algorithm>

namespace kolvi::test {
namespace {

const char* const kThreeAlarms =
    "1,朝会,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0\r\n"
    "0,帰宅,1,1,1,1,1,1,1,18,00,00,lock,0\r\n"
    "1,表ソ,0,0,0,0,0,0,1,07,05,00,,1\r\n";

HWND at(HWND dialog, int id) { return GetDlgItem(dialog, id); }
void push(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)at(dialog, id)); }

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
    bool checkedInControl(int item) const { return (ListView_GetItemState(lv(), item, LVIS_STATEIMAGEMASK) >> 12) == 2; }
};

TEST_F(MainFormTest, TheListShowsTheFileFromItsTopAndTheWindowRendersTheSortTheFiredRowAndTheSwitch) {
    // The first line sorts last in a list too long for the window; at the
    // test clock's 10:00:00 the sixty rows "r" are due together.
    std::string lines = "1,最後,1,1,1,1,1,1,1,23,59,00,,0\r\n" + std::string(kThreeAlarms);
    for (int i = 0; i < 60; ++i) lines += "1,r,1,1,1,1,1,1,1,10,00,00,,0\r\n";
    start(lines.c_str());
    EXPECT_EQ(windowText(hwnd()), "list.alm - Kolviアラーム");
    EXPECT_EQ(ListView_GetTopIndex(lv()), 0);
    EXPECT_EQ(ListView_GetSelectedCount(lv()), 0u);  // the first row is current, but not highlighted yet

    const HWND headerWindow = ListView_GetHeader(lv());
    RECT r{};
    Header_GetItemRect(headerWindow, 3, &r);  // 時刻, already ascending: toggles
    SendMessageW(headerWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, r.bottom / 2));
    SendMessageW(headerWindow, WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, r.bottom / 2));
    wchar_t first[16] = {};
    ListView_GetItemText(lv(), 0, 1, first, 16);
    EXPECT_EQ(header(3), "時刻 ▽");
    EXPECT_EQ(win32::narrow(first), "最後");
    ListView_EnsureVisible(lv(), 63, FALSE);  // scrolled to the end; no row is highlighted, so the sort shows the top
    command(IDM_VIEW_SORT_NAME);
    EXPECT_EQ(header(1), "名前 △");
    EXPECT_EQ(header(3), "時刻");
    EXPECT_EQ(ListView_GetTopIndex(lv()), 0);
    EXPECT_EQ(fileText(), "1.1\r\n" + lines);  // sorting saves nothing

    // One "r" fires and is shown selected (Del acts on it) and dimmed for its
    // second; the others wait their turn, and go when the check stops.
    tickAt(10, 0, 0);
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"alarm:r"});
    EXPECT_EQ(static_cast<int>(*alarms_.currentPosition()), selectedRow());
    EXPECT_EQ(ListView_GetItemState(lv(), selectedRow(), LVIS_CUT), static_cast<UINT>(LVIS_CUT));
    command(IDM_ALARM_ENABLE, true);
    SendMessageW(hwnd(), WM_TIMER, 1, 0);  // queued before the check stopped: no tick
    EXPECT_EQ(desktop_.asked.size(), 1u);
    EXPECT_EQ(ListView_GetBkColor(lv()), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(menuState(IDM_ALARM_ENABLE) & MF_CHECKED, 0u);
    command(IDM_ALARM_ENABLE, true);
    tickAt(10, 0, 1);
    EXPECT_EQ(desktop_.asked.size(), 1u);
    EXPECT_EQ(ListView_GetItemState(lv(), selectedRow(), LVIS_CUT), 0u);
    EXPECT_EQ(ListView_GetBkColor(lv()), GetSysColor(COLOR_WINDOW));
}

// Real mouse input: only the check box itself ticks or clears a row; a click
// anywhere in a row (the box included) makes it current and highlighted.
TEST_F(MainFormTest, OnlyTheCheckBoxTicksARowAndAnyClickInTheRowMakesItCurrent) {
    start(kThreeAlarms);
    SetForegroundWindow(hwnd());
    const auto realInput = [&](POINT at, bool press) {
        ClientToScreen(lv(), &at);
        // The place goes with the press: a cursor set beforehand may not
        // have reached the display yet.
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input[0].mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | (press ? MOUSEEVENTF_LEFTDOWN : 0);
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(press ? 2 : 1, input, sizeof(INPUT));
    };
    const auto realClick = [&](POINT at, int row) {
        Sleep(GetDoubleClickTime() + 50);  // one click each, never a double-click
        realInput(at, true);
        // Real input comes when it comes; the click is over once the button is up again.
        pumpUntil([&] { return selectedRow() == row && (GetKeyState(VK_LBUTTON) & 0x8000) == 0; });
    };
    RECT client{};  // the last column may run past the list's edge
    GetClientRect(lv(), &client);
    for (int column = 0; column < 6; ++column) {
        RECT r{};
        ListView_GetSubItemRect(lv(), 1, column, column == 0 ? LVIR_LABEL : LVIR_BOUNDS, &r);
        realClick({std::min((r.left + r.right) / 2, (r.left + client.right) / 2), (r.top + r.bottom) / 2}, 1);
        EXPECT_TRUE(checkedInControl(1)) << "column " << column;
        EXPECT_EQ(selectedRow(), 1) << "column " << column;
        click(rowPoint(-1));
    }
    EXPECT_EQ(fileText(), "1.1\r\n" + std::string(kThreeAlarms));

    RECT bounds{};  // the check box of 帰宅: on, and current
    ListView_GetItemRect(lv(), 2, &bounds, LVIR_BOUNDS);
    LVHITTESTINFO hit{{bounds.left, (bounds.top + bounds.bottom) / 2}, 0, 0, 0, 0};
    const auto onBox = [&] { return ListView_HitTest(lv(), &hit) == 2 && (hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON; };
    while (hit.pt.x < bounds.right && !onBox()) ++hit.pt.x;
    realClick(hit.pt, 2);
    EXPECT_TRUE(checkedInControl(2));
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_NE(fileText().find("1,帰宅,"), std::string::npos);

    // Over a new row the tip goes and comes back; within a row it counts
    // on. The list's own label tips stay off so as not to cover it.
    EXPECT_EQ(ListView_GetExtendedListViewStyle(lv()) & LVS_EX_LABELTIP, 0u);
    command(IDM_VIEW_TOOLTIP);
    HWND tip = nullptr;
    do tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr);
    while (tip != nullptr && GetWindow(tip, GW_OWNER) != hwnd());
    const auto tipShows = [&](POINT at, const std::string& text) {  // after the tip's own delay
        // Two moves, each seen alone, as a hand makes them: the first over a
        // new row may only pop the last row's tip.
        realInput({at.x - 2, at.y}, false);
        pumpUntil([] { return GetQueueStatus(QS_MOUSEMOVE) == 0; });
        realInput(at, false);
        pumpUntil([&] { return IsWindowVisible(tip) && windowText(tip) == text; });
        return windowText(tip);
    };
    const std::string passed = "[朝会] このアラームの設定時刻は本日はもう過ぎています。",
                      now = "[帰宅] このアラームは28800秒後に作動します。",
                      later = "[帰宅] このアラームは28790秒後に作動します。";
    EXPECT_EQ(tipShows(rowPoint(1), passed), passed);
    EXPECT_EQ(tipShows(rowPoint(2), now), now);
    clock_.time.second = 10;
    EXPECT_EQ(tipShows({rowPoint(2).x + 4, rowPoint(2).y}, later), later);
}

TEST_F(MainFormTest, CommandsReachTheirHandlersWhileTheFileAndTheCurrentRowAllow) {
    writeRaw(dir_.file("readme.txt"), "x");
    start(kThreeAlarms);
    const struct {
        int id;
        std::string reached;  // the start of what the desktop was asked
    } routes[] = {{IDM_FILE_NEW, "save:新規作成;"}, {IDM_FILE_OPEN, "open;"}, {IDM_FILE_SAVEAS, "save:;"},
                  {IDM_FILE_DATETIME, "control.exe timedate.cpl;"}, {IDM_FILE_VOLUME, "sndvol.exe;"},
                  {IDM_HELP_README, dir_.file("readme.txt") + ";"}, {IDM_HELP_ABOUT, "info:Kolviアラームのバージョン情報|"},
                  {IDM_ALARM_PREVIEW, "alarm:表ソ;"}};  // the current row, which has no file
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
    EXPECT_FALSE(IsWindowVisible(lv()));
    EXPECT_NE(menuState(2, MF_BYPOSITION) & MF_GRAYED, 0u);  // the alarm menu
    command(IDM_ALARM_ENABLE, true);  // the shortcut of a disabled menu does nothing
    EXPECT_TRUE(form_->alarmTimerRunning());
    desktop_.openReply = path_;
    command(IDM_FILE_OPEN, true);
    click(rowPoint(-1));  // no current row: nothing to delete
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
    // An alarm fires while the menu is open and becomes current; 削除 still
    // deletes the row the menu was opened for.
    popUpAt(rowPoint(2), [&] {
        clock_.time.hour = 9;  // 朝会
        tick();
        PostMessageW(hwnd(), WM_COMMAND, IDM_POPUP_DELETE, 0);
    });
    pump();
    EXPECT_EQ(form_->runner().openWindows(), 1u);
    EXPECT_NE(fileText().find("朝会"), std::string::npos);
    EXPECT_EQ(fileText().find("帰宅"), std::string::npos);
}

// Minimised, the window waits in the tray and a double click on the icon
// brings it back as it was; a shell that announces itself while it holds the
// icon still gets the tip; the close box asks first, the exit does not, and
// either way the window's state is written.
TEST_F(MainFormTest, TheTrayRestoresTheWindowAndOnlyTheCloseBoxAsksBeforeTheStateIsWritten) {
    writeIni("", "[window]\r\ncloseconfirm=1\r\n[list]\r\ncolwidth2=77\r\n");
    start(kThreeAlarms);
    EXPECT_EQ(ListView_GetColumnWidth(lv(), 1), MulDiv(77, static_cast<int>(form_->dpi()), 96));  // as stored
    ListView_SetColumnWidth(lv(), 4, MulDiv(321, static_cast<int>(form_->dpi()), 96));
    command(IDM_VIEW_SORT_NAME);  // the user's width survives a refresh
    ShowWindow(hwnd(), SW_MAXIMIZE);
    ShowWindow(hwnd(), SW_MINIMIZE);
    pump();
    EXPECT_FALSE(IsWindowVisible(hwnd()));
    SendMessageW(hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    SendMessageW(hwnd(), WM_APP + 1, 0, WM_MOUSEMOVE);
    EXPECT_EQ(win32::narrow(TestTray::icons[{hwnd(), 0}]), "Kolviアラーム\r\nlist.alm");  // what the shell holds
    SendMessageW(hwnd(), WM_APP + 1, 0, WM_LBUTTONDBLCLK);
    pump();
    EXPECT_TRUE(IsWindowVisible(hwnd()));
    EXPECT_TRUE(IsZoomed(hwnd()));
    EXPECT_TRUE(TestTray::icons.empty());

    desktop_.confirmReply = false;
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(hwnd()));
    command(IDM_FILE_EXIT);
    EXPECT_FALSE(IsWindow(hwnd()));
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"confirm:終了するとアラームは停止します。"});
    EXPECT_EQ(settings_.readInt("list", "colwidth5", -1), 321);
    EXPECT_EQ(settings_.readInt("window", "state", -1), 2);  // maximised
}

// The alarm editor from its real template, driven from inside its own modal
// loop: what reaches the time fields, the up-downs, the preset menus at their
// labels and the kinds; a refused OK; the preview for the editor; Escape.
TEST_F(MainFormTest, TheEditorFiltersTimeFieldsPlacesItsMenusPlaysForItselfAndSavesWhenCancelled) {
    start("1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n");
    writeRaw(path_, *codec_.encode("1.1\r\n1, 朝会 ,0,1,1,1,1,1,0,9,0,0,,0\r\n"));  // changed behind our back
    writeRaw(dir_.file("timer.history"), *codec_.encode("麺,00,03,00,,1\r\nお茶,00,02,00,,1\r\n"));
    std::vector<std::string> seen;
    const auto openHourMenu = [&](HWND d) {  // where it opens and how many items it has
        RECT label{};
        GetWindowRect(at(d, IDC_HOUR_LABEL), &label);
        later(100, [&, label] {
            const HWND menu = FindWindowW(L"#32768", nullptr);
            RECT place{};
            GetWindowRect(menu, &place);
            seen.push_back(std::to_string(place.left - label.left) + "," + std::to_string(place.top - label.bottom) + " " +
                           std::to_string(GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)))));
            EndMenu();
        });
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_HOUR_LABEL, STN_CLICKED), (LPARAM)at(d, IDC_HOUR_LABEL));
    };
    bool ran = false;
    later(60, [&] {  // from inside the editor's own loop
        const HWND d = GetActiveWindow();
        const HWND hour = at(d, IDC_HOUR_TEXT);
        SetWindowTextW(hour, L"");
        for (const wchar_t c : std::wstring(L"a1 -2\u0016" L"3\b")) SendMessageW(hour, WM_CHAR, c, 1);
        seen.push_back(windowText(hour));  // letters, signs, a paste key and a third digit go nowhere
        SendMessageW(hour, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"a"));  // pasted "1a" empties it
        seen.push_back(windowText(hour));
        std::vector<int> tabOrder;  // once round; the hidden combo box and disabled controls are passed over
        HWND control = at(d, IDC_SELECT_ALARM);
        do tabOrder.push_back(GetDlgCtrlID(control));
        while ((control = GetNextDlgTabItem(d, control, FALSE)) != at(d, IDC_SELECT_ALARM) && tabOrder.size() < 30);
        EXPECT_EQ(tabOrder, (std::vector<int>{IDC_SELECT_ALARM, IDC_NAME_TEXT, IDC_DAY_CHECK0, IDC_DAY_CHECK0 + 1,
                                              IDC_DAY_CHECK0 + 2, IDC_DAY_CHECK0 + 3, IDC_DAY_CHECK0 + 4, IDC_DAY_CHECK0 + 5,
                                              IDC_DAY_CHECK0 + 6, IDC_DAY_BUTTON, IDC_HOUR_TEXT, IDC_MINUTE_TEXT,
                                              IDC_SECOND_TEXT, IDC_FILE_TEXT, IDC_FILE_BUTTON, IDC_DELETE_CHECK, IDOK,
                                              IDCANCEL}));
        EXPECT_EQ(ImmGetContext(hour), nullptr);  // nor does an input method
        SendMessageW(at(d, IDC_DAY_CHECK0 + 3), BM_CLICK, 0, 0);  // Wednesday reaches the model: renders keep it
        seen.push_back(windowText(form_->statusBar()));  // the check waits while the editor is open
        SetWindowTextW(at(d, IDC_SECOND_TEXT), L"7");
        NMUPDOWN down{{at(d, IDC_SECOND_UPDOWN), IDC_SECOND_UPDOWN, UDN_DELTAPOS}, 500, -1};
        SendMessageW(d, WM_NOTIFY, IDC_SECOND_UPDOWN, (LPARAM)&down);
        DWORD from = 0, to = 0;
        SendMessageW(at(d, IDC_SECOND_TEXT), EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
        seen.push_back(windowText(at(d, IDC_SECOND_TEXT)) + " " + std::to_string(from) + "-" + std::to_string(to) +
                       (GetFocus() == at(d, IDC_SECOND_TEXT) ? " focused" : "") +
                       (IsDlgButtonChecked(d, IDC_DAY_CHECK0 + 3) == BST_CHECKED ? " Wed" : ""));
        openHourMenu(d);

        SetWindowTextW(at(d, IDC_NAME_TEXT), L"a,b");
        push(d, IDOK);  // refused: a box, and the name to mend
        seen.push_back(GetFocus() == at(d, IDC_NAME_TEXT) ? "name focused" : "");
        SetWindowTextW(at(d, IDC_FILE_TEXT), L"C:\\bell.wav");
        later(200, [&, d] {  // the preview is modal to the editor
            seen.push_back(IsWindowEnabled(d) ? "" : "editor disabled");
            PostMessageW(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
        });
        push(d, IDC_FILE_PREVIEW);
        push(d, IDC_SELECT_TIMER);  // a countdown: the hour label offers lengths
        seen.push_back(std::to_string(SendMessageW(at(d, IDC_NAME_COMBO), CB_GETCOUNT, 0, 0)) + " in the history");
        openHourMenu(d);
        PostMessageW(at(d, IDC_NAME_COMBO), WM_KEYDOWN, VK_ESCAPE, 1);  // through the dialog's loop
        ran = true;
    });
    command(IDM_ALARM_ADD);
    ASSERT_TRUE(ran);
    const int dpi = static_cast<int>(form_->dpi());
    const std::string place = std::to_string(-MulDiv(4, dpi, 96)) + "," + std::to_string(-MulDiv(12, dpi, 96));
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "", "アラーム停止中", "06 0-2 focused Wed", place + " 2", "name focused",
                                              "editor disabled", "2 in the history", place + " 12"}));
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"box:名前とファイルにはカンマ (,) を使えません。"});
    EXPECT_EQ(sound_.calls.size(), 4u);  // open, play, stop, close
    EXPECT_EQ(fileText(), "1.1\r\n1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n");  // saved as read, nothing added
    EXPECT_TRUE(form_->alarmTimerRunning());
}

}  // namespace
}  // namespace kolvi::test
