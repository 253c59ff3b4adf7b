// The alarm editor driven in-process from inside its own modal loop: what the
// time fields take, the up-downs and preset menus, the kinds, the keyboard,
// the preview for the editor, and what OK and Cancel leave in the list.
#include "win/main_form_fixture.h"

#include <imm.h>

#include <functional>
#include <vector>

namespace kolvi::test {
namespace {

using win32::narrow;
using win32::widen;

// Steps run one per timer tick from inside the editor's loop; each gets the
// dialog (the active window of the thread).
std::vector<std::function<void(HWND)>> g_steps;
std::size_t g_next = 0;

void CALLBACK runStep(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND dialog = GetActiveWindow();
    if (g_next >= g_steps.size()) {
        KillTimer(nullptr, id);
        return;
    }
    if (GetDlgItem(dialog, IDC_SELECT_ALARM) == nullptr) return;  // another window is in front for now
    g_steps[g_next++](dialog);
}

std::string textOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return narrow(text);
}

void type(HWND control, std::wstring_view keys) {
    for (const wchar_t c : keys) SendMessageW(control, WM_CHAR, c, 1);
}

// A key as the keyboard sends it, through the dialog's loop.
void press(HWND control, WPARAM key) { PostMessageW(control, WM_KEYDOWN, key, 1); }

class EditorTest : public MainFormFixture {
protected:
    // Opens the editor with the command and plays the steps in it.
    void edit(int id, std::vector<std::function<void(HWND)>> steps) {
        g_steps = std::move(steps);
        g_next = 0;
        SetTimer(nullptr, 0, 60, &runStep);
        command(id);
        EXPECT_EQ(g_next, g_steps.size()) << "the editor closed before every step ran";
    }
    static HWND at(HWND dialog, int id) { return GetDlgItem(dialog, id); }
    static void click(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)at(dialog, id)); }
};

TEST_F(EditorTest, TimeFieldsTakeTwoDigitsAndTheUpDownsWrapAndSelect) {
    startWith("");
    std::vector<std::string> seen;
    edit(IDM_ALARM_ADD,
         {[&](HWND d) {
              EXPECT_EQ(textOf(d), "アラームの追加");
              const HWND hour = at(d, IDC_HOUR_TEXT);
              SetWindowTextW(hour, L"");
              type(hour, L"a1 -2\u0016" L"3");  // letters, signs, a paste key and a third digit go nowhere
              seen.push_back(textOf(hour));
              type(hour, L"\b");
              seen.push_back(textOf(hour));
              SendMessageW(at(d, IDC_MINUTE_TEXT), EM_SETSEL, 0, -1);
              SendMessageW(at(d, IDC_MINUTE_TEXT), EM_REPLACESEL, TRUE, (LPARAM)L"1a");  // a paste
              seen.push_back(textOf(at(d, IDC_MINUTE_TEXT)));
              SetWindowTextW(at(d, IDC_SECOND_TEXT), L"7");
              NMUPDOWN down{{at(d, IDC_SECOND_UPDOWN), IDC_SECOND_UPDOWN, UDN_DELTAPOS}, 500, -1};
              SendMessageW(d, WM_NOTIFY, IDC_SECOND_UPDOWN, (LPARAM)&down);
              seen.push_back(textOf(at(d, IDC_SECOND_TEXT)));
              DWORD from = 0, to = 0;
              SendMessageW(at(d, IDC_SECOND_TEXT), EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
              seen.push_back(std::to_string(from) + "-" + std::to_string(to) + (GetFocus() == at(d, IDC_SECOND_TEXT) ? " focused" : ""));
              SetWindowTextW(at(d, IDC_HOUR_TEXT), L"23");
              NMUPDOWN up{{at(d, IDC_HOUR_UPDOWN), IDC_HOUR_UPDOWN, UDN_DELTAPOS}, 500, 1};
              SendMessageW(d, WM_NOTIFY, IDC_HOUR_UPDOWN, (LPARAM)&up);
              seen.push_back(textOf(at(d, IDC_HOUR_TEXT)));
              EXPECT_EQ(ImmGetContext(at(d, IDC_HOUR_TEXT)), nullptr);  // no input method in a time field
          },
          [](HWND d) { click(d, IDCANCEL); }});
    EXPECT_EQ(seen, (std::vector<std::string>{"12", "1", "", "06", "0-2 focused", "00"}));
}

// The preset menus are modal too: a second timer reads the open menu.
struct MenuSeen {
    RECT place{};
    std::vector<std::string> items;
};
MenuSeen g_menu;

void CALLBACK readMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const HWND window = FindWindowW(L"#32768", nullptr);
    GetWindowRect(window, &g_menu.place);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t caption[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        g_menu.items.push_back(narrow(caption));
    }
    EndMenu();
}

TEST_F(EditorTest, TheLabelsOpenTheirPresetsBelowThemAndTheKindsSwapNamesAndCaptions) {
    startWith("");
    std::vector<MenuSeen> menus;
    RECT hourLabel{}, minuteLabel{};
    const auto openMenu = [&](HWND d, int label) {
        g_menu = {};
        SetTimer(nullptr, 0, 100, &readMenu);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(label, STN_CLICKED), (LPARAM)at(d, label));
        menus.push_back(g_menu);
    };
    edit(IDM_ALARM_ADD, {[&](HWND d) {
                             GetWindowRect(at(d, IDC_HOUR_LABEL), &hourLabel);
                             openMenu(d, IDC_HOUR_LABEL);
                             click(d, IDC_SELECT_TIMER);
                             EXPECT_TRUE(IsWindowVisible(at(d, IDC_NAME_COMBO)));
                             EXPECT_FALSE(IsWindowVisible(at(d, IDC_NAME_TEXT)));
                             EXPECT_EQ(textOf(at(d, IDC_NAME_COMBO)), "タイマー");
                             EXPECT_EQ(textOf(at(d, IDC_TIME_FRAME)), "時間(&M)");
                             EXPECT_EQ(textOf(at(d, IDC_SECOND_LABEL)), "秒後");
                             EXPECT_FALSE(IsWindowEnabled(at(d, IDC_DAY_BUTTON)));
                             EXPECT_EQ(IsDlgButtonChecked(d, IDC_HISTORY_CHECK), BST_CHECKED);
                             GetWindowRect(at(d, IDC_MINUTE_LABEL), &minuteLabel);
                             openMenu(d, IDC_HOUR_LABEL);
                             openMenu(d, IDC_MINUTE_LABEL);
                         },
                         [](HWND d) { click(d, IDCANCEL); }});
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0].items, (std::vector<std::string>{"午前(&A)", "午後(&P)"}));
    const int dpi = static_cast<int>(form_->dpi());
    EXPECT_EQ(menus[0].place.left, hourLabel.left - MulDiv(4, dpi, 96));
    EXPECT_EQ(menus[0].place.top, hourLabel.bottom - MulDiv(12, dpi, 96));
    EXPECT_EQ(menus[1].items.size(), 12u);
    EXPECT_EQ(menus[1].items[11], "11時間(&B)");
    EXPECT_EQ(menus[2].items[1], "5分(&1)");
    EXPECT_EQ(menus[2].place.left, minuteLabel.left - MulDiv(4, dpi, 96));
}

TEST_F(EditorTest, TheKeyboardWalksTheDialogAndEnterConfirmsTheEditAtItsSortedPlace) {
    startWith("0,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n1,夜,1,1,1,1,1,1,1,22,00,00,,0\r\n");
    pressOnList(WM_LBUTTONDOWN, WM_LBUTTONUP, rowPoint(0));
    std::vector<int> order;
    edit(IDM_ALARM_EDIT, {[&](HWND d) {
                              EXPECT_EQ(textOf(d), "アラームの編集");
                              EXPECT_FALSE(IsWindowEnabled(at(d, IDC_SELECT_TIMER)));
                              EXPECT_FALSE(IsWindowEnabled(at(d, IDC_FILE_PREVIEW)));
                              SetFocus(at(d, IDC_SELECT_ALARM));
                          },
                          [&](HWND d) {
                              order.push_back(GetDlgCtrlID(GetFocus()));
                              if (order.size() < 17) {
                                  press(GetFocus(), VK_TAB);
                                  --g_next;  // again, until the focus has gone round
                              } else {
                                  SetFocus(at(d, IDC_HOUR_TEXT));
                              }
                          },
                          [](HWND d) {
                              SetWindowTextW(at(d, IDC_HOUR_TEXT), L"23");
                              SetWindowTextW(at(d, IDC_FILE_TEXT), L"x.wav");
                              EXPECT_TRUE(IsWindowEnabled(at(d, IDC_FILE_PREVIEW)));
                              press(at(d, IDC_HOUR_TEXT), VK_RETURN);
                          }});
    const std::vector<int> expected{IDC_SELECT_ALARM, IDC_NAME_TEXT,    IDC_DAY_CHECK0,     IDC_DAY_CHECK0 + 1,
                                    IDC_DAY_CHECK0 + 2, IDC_DAY_CHECK0 + 3, IDC_DAY_CHECK0 + 4, IDC_DAY_CHECK0 + 5,
                                    IDC_DAY_CHECK0 + 6, IDC_DAY_BUTTON,  IDC_HOUR_TEXT,      IDC_MINUTE_TEXT,
                                    IDC_SECOND_TEXT,    IDC_FILE_TEXT,   IDC_FILE_BUTTON,    IDC_DELETE_CHECK,
                                    IDOK};
    EXPECT_EQ(order, expected);
    // The switch stays as it was; the row moves to its sorted place, current.
    EXPECT_EQ(fileText(), "1.1\r\n1,夜,1,1,1,1,1,1,1,22,00,00,,0\r\n0,朝会,0,1,1,1,1,1,0,23,00,00,x.wav,0\r\n");
    EXPECT_EQ(alarms_.currentPosition(), 1u);
    EXPECT_EQ(ListView_GetNextItem(lv(), -1, LVNI_SELECTED), 1);
}

TEST_F(EditorTest, EscapeCancelsAndTheFileIsSavedAnyway) {
    startWith("1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n");
    writeRaw(path_, *codec_.encode("1.1\r\n1, 朝会 ,0,1,1,1,1,1,0,9,0,0,,0\r\n"));  // changed behind our back
    edit(IDM_ALARM_ADD, {[](HWND d) {
                             SetWindowTextW(at(d, IDC_NAME_TEXT), L"捨てる");
                             press(at(d, IDC_NAME_TEXT), VK_ESCAPE);
                         }});
    EXPECT_EQ(fileText(), "1.1\r\n1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n");
    EXPECT_TRUE(form_->alarmTimerRunning());
}

// The preview of the editor is modal to the editor, which waits for it.
bool g_editorEnabledDuringPreview = true;
void CALLBACK closePreview(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const HWND preview = GetActiveWindow();
    g_editorEnabledDuringPreview = IsWindowEnabled(GetWindow(preview, GW_OWNER)) != 0;
    PostMessageW(preview, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(EditorTest, ThePreviewPlaysForTheEditorAndARefusedOkKeepsItOpen) {
    startWith("");
    edit(IDM_ALARM_ADD, {[](HWND d) {
                             SetWindowTextW(at(d, IDC_FILE_TEXT), L"C:\\bell.wav");
                             SetTimer(nullptr, 0, 200, &closePreview);
                             click(d, IDC_FILE_PREVIEW);
                         },
                         [](HWND d) {
                             SetWindowTextW(at(d, IDC_NAME_TEXT), L"a,b");
                             click(d, IDOK);
                             EXPECT_EQ(GetFocus(), at(d, IDC_NAME_TEXT));
                             SetWindowTextW(at(d, IDC_NAME_TEXT), L"鐘");
                             click(d, IDOK);
                         }});
    EXPECT_FALSE(g_editorEnabledDuringPreview);
    EXPECT_EQ(sound_.calls.size(), 4u);  // open, play, stop, close
    EXPECT_EQ(boxes_, std::vector<std::string>{"名前とファイルにはカンマ (,) を使えません。"});
    EXPECT_EQ(fileText(), "1.1\r\n1,鐘,0,0,0,0,0,0,0,00,00,00,C:\\bell.wav,0\r\n");
}

}  // namespace
}  // namespace kolvi::test
