// The main window rendered from the real resources over real files: the list
// view, menus and shortcuts, the status bar, the file commands through the
// desktop, the context menu, the tray and the exit.
#include "win/main_form_fixture.h"

#include <algorithm>
#include <functional>

namespace kolvi::test {
namespace {

using win32::narrow;
using win32::widen;

const char* const kThreeAlarms =
    "1,朝会,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0\r\n"
    "0,帰宅,1,1,1,1,1,1,1,18,00,00,lock,0\r\n"
    "1,表ソ,0,0,0,0,0,0,1,07,05,00,,1\r\n";

class MainFormTest : public MainFormFixture {
protected:
    HMENU bar() const { return GetMenu(hwnd()); }
    void openMenu(int position) {
        SendMessageW(hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar(), position)),
                     MAKELPARAM(position, FALSE));
    }
    UINT menuState(int id) const { return GetMenuState(bar(), static_cast<UINT>(id), MF_BYCOMMAND); }
    bool grayed(int id) const { return (menuState(id) & MF_GRAYED) != 0; }
    bool checked(int id) const { return (menuState(id) & MF_CHECKED) != 0; }
    bool alarmMenuGrayed() const { return (GetMenuState(bar(), 2, MF_BYPOSITION) & MF_GRAYED) != 0; }
    std::string header(int column) const {
        wchar_t buffer[256] = {};
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT;
        c.pszText = buffer;
        c.cchTextMax = 256;
        ListView_GetColumn(lv(), column, &c);
        return narrow(buffer);
    }
    bool checkedInControl(int item) const { return (ListView_GetItemState(lv(), item, LVIS_STATEIMAGEMASK) >> 12) == 2; }
    POINT checkBoxPoint(int item) const {
        RECT bounds{};
        ListView_GetItemRect(lv(), item, &bounds, LVIR_BOUNDS);
        for (int x = bounds.left; x < bounds.left + 40; ++x) {
            LVHITTESTINFO hit{};
            hit.pt = {x, (bounds.top + bounds.bottom) / 2};
            if (ListView_HitTest(lv(), &hit) == item && (hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON) return hit.pt;
        }
        ADD_FAILURE() << "no check box on row " << item;
        return {};
    }
    void clickHeader(int column) {
        const HWND headerWindow = ListView_GetHeader(lv());
        RECT r{};
        Header_GetItemRect(headerWindow, column, &r);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(headerWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(headerWindow, WM_LBUTTONUP, 0, at);
        pump();
    }
};

TEST_F(MainFormTest, ShowsTheRowsSortedByTimeWithHeadersCheckBoxesAndAFontForEveryText) {
    startWith(kThreeAlarms);
    EXPECT_EQ(windowText(hwnd()), "list.alm - Kolviアラーム");
    ASSERT_EQ(ListView_GetItemCount(lv()), 3);
    const char* const headers[] = {"", "名前", "曜日", "時刻 △", "ファイル", "削除"};
    const int widths[] = {40, 40, 100, 70, 200, 40};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(header(c), headers[c]);
        EXPECT_EQ(ListView_GetColumnWidth(lv(), c), MulDiv(widths[c], static_cast<int>(form_->dpi()), 96));
    }
    const char* const first[] = {"1:", "表ソ", "土", "07:05:00", "", "する"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(cell(0, c), first[c]) << c;
    EXPECT_EQ(cell(2, 1), "帰宅");
    EXPECT_TRUE(checkedInControl(0));
    EXPECT_FALSE(checkedInControl(2));
    EXPECT_EQ(ListView_GetSelectedCount(lv()), 0u);  // nothing highlighted right after opening

    const HDC dc = GetDC(lv());
    const HGDIOBJ old = SelectObject(dc, form_->font());
    const std::wstring text = widen("名前曜日時刻ファイル削除するしない△▽日月火水木金土Kolviアラーム朝会帰宅表ソ");
    std::wstring glyphs(text.size(), L'\0');
    ASSERT_NE(GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), reinterpret_cast<WORD*>(glyphs.data()),
                               GGI_MARK_NONEXISTING_GLYPHS),
              GDI_ERROR);
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_NE(static_cast<WORD>(glyphs[i]), 0xFFFF) << "no glyph for U+" << std::hex << int(text[i]);
    }
    SelectObject(dc, old);
    ReleaseDC(lv(), dc);
}

// Real mouse input: only the check box itself ticks or clears a row; a click
// anywhere in a row (the box included) makes it current and highlighted.
TEST_F(MainFormTest, OnlyTheCheckBoxTicksARowAndAnyClickInTheRowMakesItCurrent) {
    startWith(kThreeAlarms);
    const std::string saved = fileText();
    SetForegroundWindow(hwnd());
    // Real input arrives when it arrives: pump until the row shows the click.
    const auto click = [&](POINT at, auto arrived) {
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
        for (int i = 0; i < 300 && !arrived(); ++i, Sleep(10)) pump();
        for (int i = 0; i < 10; ++i, Sleep(10)) pump();
    };
    const auto selected = [&](int row) { return [this, row] { return ListView_GetNextItem(lv(), -1, LVNI_SELECTED) == row; }; };
    for (int column = 0; column < 6; ++column) {
        RECT cellRect{};
        ListView_GetSubItemRect(lv(), 1, column, column == 0 ? LVIR_LABEL : LVIR_BOUNDS, &cellRect);
        RECT client{};  // the last column may run past the list's edge
        GetClientRect(lv(), &client);
        click({std::min((cellRect.left + cellRect.right) / 2, (cellRect.left + client.right) / 2),
               (cellRect.top + cellRect.bottom) / 2},
              selected(1));
        EXPECT_TRUE(checkedInControl(1)) << "column " << column;
        EXPECT_EQ(ListView_GetNextItem(lv(), -1, LVNI_SELECTED), 1) << "column " << column;
        pressOnList(WM_LBUTTONDOWN, WM_LBUTTONUP, emptySpace());
    }
    EXPECT_EQ(fileText(), saved);

    click(checkBoxPoint(2), selected(2));  // 帰宅: on, and current
    EXPECT_TRUE(checkedInControl(2));
    EXPECT_EQ(alarms_.currentPosition(), 2u);
    EXPECT_NE(fileText().find("1,帰宅,"), std::string::npos);
    SetFocus(lv());
    SendMessageW(lv(), WM_KEYDOWN, VK_SPACE, 0);
    pump();
    EXPECT_FALSE(checkedInControl(2));
    EXPECT_NE(fileText().find("0,帰宅,"), std::string::npos);
}

TEST_F(MainFormTest, HeaderClicksAndSortItemsSortWithoutSaving) {
    startWith(kThreeAlarms);
    clickHeader(3);  // 時刻, already ascending: toggles
    EXPECT_EQ(header(3), "時刻 ▽");
    EXPECT_EQ(cell(0, 1), "帰宅");
    EXPECT_EQ(cell(0, 0), "1:");
    clickHeader(0);  // the number column is no target
    EXPECT_EQ(header(3), "時刻 ▽");
    command(IDM_VIEW_SORT_NAME);
    openMenu(1);
    EXPECT_TRUE(checked(IDM_VIEW_SORT_NAME));
    EXPECT_FALSE(checked(IDM_VIEW_SORT_TIME));
    EXPECT_EQ(header(1), "名前 △");
    EXPECT_EQ(header(3), "時刻");
    EXPECT_EQ(cell(2, 1), "表ソ");  // code point order
    EXPECT_EQ(fileText(), "1.1\r\n" + std::string(kThreeAlarms));
}

TEST_F(MainFormTest, MenusAndShortcutsFollowTheFileAndTheCurrentRow) {
    startForm("");
    EXPECT_EQ(windowText(hwnd()), "Kolviアラーム");
    EXPECT_EQ(statusPanel(), "ファイルを開くか、または新規作成して下さい。");
    EXPECT_FALSE(IsWindowVisible(lv()));
    EXPECT_TRUE(alarmMenuGrayed());
    EXPECT_TRUE(grayed(IDM_FILE_SAVEAS));
    EXPECT_TRUE((GetMenuState(GetSubMenu(bar(), 1), 3, MF_BYPOSITION) & MF_GRAYED) != 0);  // 整列(&S)
    command(IDM_ALARM_ENABLE, true);  // F5 of a disabled menu does nothing
    EXPECT_TRUE(form_->alarmTimerRunning());

    writeAlarmFile(path_, "1.1\r\n" + std::string(kThreeAlarms));
    desktop_.openReply = path_;
    command(IDM_FILE_OPEN, true);
    EXPECT_EQ(windowText(hwnd()), "list.alm - Kolviアラーム");
    EXPECT_FALSE(alarmMenuGrayed());
    EXPECT_TRUE(IsWindowVisible(lv()));
    // The first row is current though nothing is highlighted.
    openMenu(2);
    EXPECT_FALSE(grayed(IDM_ALARM_EDIT));

    pressOnList(WM_LBUTTONDOWN, WM_LBUTTONUP, emptySpace());  // empty space: no current row
    openMenu(2);
    EXPECT_TRUE(grayed(IDM_ALARM_DELETE));
    EXPECT_FALSE(grayed(IDM_ALARM_ADD));
    command(IDM_ALARM_DELETE, true);
    EXPECT_EQ(ListView_GetItemCount(lv()), 3);

    pressOnList(WM_LBUTTONDOWN, WM_LBUTTONUP, rowPoint(2));  // 帰宅
    command(IDM_ALARM_DELETE, true);
    EXPECT_EQ(ListView_GetItemCount(lv()), 2);
    EXPECT_EQ(fileText().find("帰宅"), std::string::npos);
}

TEST_F(MainFormTest, TheMasterSwitchAndTheStatusBarRenderTheirState) {
    startWith(kThreeAlarms);
    EXPECT_EQ(ListView_GetBkColor(lv()), GetSysColor(COLOR_WINDOW));
    command(IDM_ALARM_ENABLE, true);
    EXPECT_FALSE(form_->alarmTimerRunning());
    EXPECT_EQ(statusPanel(), "アラーム停止中");
    EXPECT_EQ(ListView_GetBkColor(lv()), GetSysColor(COLOR_BTNFACE));
    openMenu(2);
    EXPECT_FALSE(checked(IDM_ALARM_ENABLE));
    command(IDM_ALARM_ENABLE, true);
    EXPECT_TRUE(form_->alarmTimerRunning());
    EXPECT_EQ(ListView_GetBkColor(lv()), GetSysColor(COLOR_WINDOW));

    RECT client{}, listRect{};
    GetClientRect(hwnd(), &client);
    command(IDM_VIEW_STATUS);
    EXPECT_FALSE(IsWindowVisible(form_->statusBar()));
    GetWindowRect(lv(), &listRect);
    EXPECT_EQ(listRect.bottom - listRect.top, client.bottom);
}

TEST_F(MainFormTest, FileAndHelpCommandsGoThroughTheDesktop) {
    startWith(kThreeAlarms);
    desktop_.saveReply = dir_.file("copy.alm");
    command(IDM_FILE_SAVEAS);
    EXPECT_EQ(fileText(desktop_.saveReply),  // in the order shown
              "1.1\r\n1,表ソ,0,0,0,0,0,0,1,07,05,00,,1\r\n1,朝会,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0\r\n"
              "0,帰宅,1,1,1,1,1,1,1,18,00,00,lock,0\r\n");
    EXPECT_EQ(windowText(hwnd()), "copy.alm - Kolviアラーム");

    desktop_.saveReply = dir_.file("new.alm");
    command(IDM_FILE_NEW, true);
    EXPECT_EQ(desktop_.asked.back(), "save:新規作成");
    EXPECT_EQ(readRaw(desktop_.saveReply), "1.1\r\n");
    EXPECT_EQ(ListView_GetItemCount(lv()), 0);

    command(IDM_FILE_CLOSE);
    EXPECT_EQ(windowText(hwnd()), "Kolviアラーム");
    EXPECT_FALSE(IsWindowVisible(lv()));

    openMenu(3);
    EXPECT_TRUE(grayed(IDM_HELP_README));
    writeRaw(dir_.file("readme.txt"), "x");
    openMenu(3);
    EXPECT_FALSE(grayed(IDM_HELP_README));
    command(IDM_HELP_README);
    EXPECT_EQ(desktop_.opened, std::vector<std::string>{dir_.file("readme.txt")});
    SendMessageW(hwnd(), WM_NOTIFY, 0, [&] {
        static NMHDR click{};
        click = {form_->statusBar(), 0, static_cast<UINT>(NM_DBLCLK)};
        return reinterpret_cast<LPARAM>(&click);
    }());
    EXPECT_EQ(desktop_.started, std::vector<std::string>{"control.exe timedate.cpl"});
    EXPECT_TRUE(messages_.errors.empty());
}

// A long file whose first line sorts last opens with its top rows in view;
// a tick queued before the check stopped fires nothing; the window and the
// tray get icons drawn at their own sizes.
TEST_F(MainFormTest, AFileOpensAtItsTopAndAStaleTickFiresNothing) {
    std::string lines = "1,最後,1,1,1,1,1,1,1,23,59,00,,0\r\n";
    for (int i = 0; i < 60; ++i) lines += "1,r" + std::to_string(i) + ",1,1,1,1,1,1,1,10,00,00,,0\r\n";
    startWith(lines);
    EXPECT_EQ(ListView_GetTopIndex(lv()), 0);
    EXPECT_EQ(alarms_.currentPosition(), 0u);

    command(IDM_ALARM_ENABLE, true);
    clock_.time = {1, 10, 0, 0};
    SendMessageW(hwnd(), WM_TIMER, 1, 0);
    EXPECT_TRUE(desktop_.asked.empty());

    const auto iconWidth = [](HICON icon) {
        ICONINFO info{};
        GetIconInfo(icon, &info);
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return bitmap.bmWidth;
    };
    const UINT dpi = form_->dpi();
    EXPECT_EQ(iconWidth(reinterpret_cast<HICON>(SendMessageW(hwnd(), WM_GETICON, ICON_SMALL, 0))),
              GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    EXPECT_EQ(iconWidth(reinterpret_cast<HICON>(SendMessageW(hwnd(), WM_GETICON, ICON_BIG, 0))),
              GetSystemMetricsForDpi(SM_CXICON, dpi));
}

// The context menu is modal; a thread timer looks at it while it is open
// and then closes it.
struct PopupSeen {
    HMENU menu = nullptr;
    UINT defaultItem = 0;
    bool editGrayed = false;
    bool opened = false;
};
PopupSeen g_popup;

std::function<void()> g_whileOpen;  // runs while the menu is open

void CALLBACK inspectPopup(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_whileOpen) g_whileOpen();
    g_popup.opened = true;
    g_popup.defaultItem = GetMenuDefaultItem(g_popup.menu, FALSE, 0);
    g_popup.editGrayed = (GetMenuState(g_popup.menu, IDM_POPUP_EDIT, MF_BYCOMMAND) & MF_GRAYED) != 0;
    EndMenu();
}

TEST_F(MainFormTest, TheContextMenuOffersEditOnARowAndAddOnEmptySpace) {
    startWith(kThreeAlarms);
    const auto popUp = [&](auto open) {
        g_popup = {};
        g_popup.menu = GetSubMenu(form_->popupMenus(), 0);
        SetTimer(nullptr, 0, 200, &inspectPopup);
        open();
    };
    popUp([&] { pressOnList(WM_RBUTTONDOWN, WM_RBUTTONUP, rowPoint(1)); });
    ASSERT_TRUE(g_popup.opened);
    EXPECT_EQ(g_popup.defaultItem, static_cast<UINT>(IDM_POPUP_EDIT));
    EXPECT_FALSE(g_popup.editGrayed);
    EXPECT_EQ(alarms_.currentPosition(), 1u);

    popUp([&] { pressOnList(WM_RBUTTONDOWN, WM_RBUTTONUP, emptySpace()); });
    ASSERT_TRUE(g_popup.opened);
    EXPECT_EQ(g_popup.defaultItem, static_cast<UINT>(IDM_POPUP_ADD));
    EXPECT_TRUE(g_popup.editGrayed);

    popUp([&] { SendMessageW(lv(), WM_KEYDOWN, VK_APPS, 0); });
    EXPECT_TRUE(g_popup.opened);

    // An alarm fires while the menu is open and becomes current; 削除 still
    // deletes the row the menu was opened for.
    g_whileOpen = [&] {
        clock_.time = {1, 9, 0, 0};  // 朝会 fires
        form_->alarmTimer_Timer();
        PostMessageW(hwnd(), WM_COMMAND, IDM_POPUP_DELETE, 0);
    };
    popUp([&] { pressOnList(WM_RBUTTONDOWN, WM_RBUTTONUP, rowPoint(2)); });
    g_whileOpen = nullptr;
    pump();
    EXPECT_EQ(form_->runner().openWindows(), 1u);
    EXPECT_NE(fileText().find("朝会"), std::string::npos);
    EXPECT_EQ(fileText().find("帰宅"), std::string::npos);
}

TEST_F(MainFormTest, MinimisingGoesToTheTrayAndADoubleClickBringsItBack) {
    startWith(kThreeAlarms);
    ShowWindow(hwnd(), SW_MAXIMIZE);
    ShowWindow(hwnd(), SW_MINIMIZE);
    pump();
    EXPECT_TRUE(form_->tray().inTray());
    EXPECT_FALSE(IsWindowVisible(hwnd()));
    SendMessageW(hwnd(), WM_APP + 1, 0, WM_MOUSEMOVE);
    EXPECT_EQ(form_->tray().tip(), "Kolviアラーム\r\nlist.alm");
    SendMessageW(hwnd(), WM_APP + 1, 0, WM_LBUTTONDBLCLK);
    pump();
    EXPECT_TRUE(IsWindowVisible(hwnd()));
    EXPECT_TRUE(IsZoomed(hwnd()));
    EXPECT_FALSE(form_->tray().inTray());
}

TEST_F(MainFormTest, TheCloseBoxAsksButExitDoesNotAndTheWindowComesBackWhereItWas) {
    writeIni("[window]\r\ncloseconfirm=1\r\n");
    startWith(kThreeAlarms);
    const int wide = MulDiv(321, static_cast<int>(form_->dpi()), 96);
    ListView_SetColumnWidth(lv(), 4, wide);
    command(IDM_VIEW_SORT_NAME);  // the user's width survives a refresh
    EXPECT_EQ(ListView_GetColumnWidth(lv(), 4), wide);
    MoveWindow(hwnd(), 40, 50, 500, 300, TRUE);
    ShowWindow(hwnd(), SW_MAXIMIZE);

    desktop_.confirmReply = false;
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(hwnd()));
    EXPECT_EQ(desktop_.asked.back(), "confirm:終了するとアラームは停止します。");
    const std::size_t asked = desktop_.asked.size();
    command(IDM_FILE_EXIT);
    EXPECT_FALSE(IsWindow(hwnd()));
    EXPECT_EQ(desktop_.asked.size(), asked);
    EXPECT_EQ(settings_.readString("list", "lastopen", "?"), "list.alm");
    EXPECT_EQ(settings_.readInt("list", "colwidth5", -1), 321);
    EXPECT_EQ(settings_.readInt("window", "state", -1), 2);

    // The next start is maximised over the same normal place.
    alarms_.clearRows();
    startForm("");
    EXPECT_TRUE(IsZoomed(hwnd()));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd(), &placement);
    EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, 500);
    EXPECT_EQ(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top, 300);
}

}  // namespace
}  // namespace kolvi::test
