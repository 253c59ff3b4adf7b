// The alarm editor from its real template, driven from inside its own modal
// loop: what reaches the time fields, the up-downs, the preset menus at their
// labels and the kinds; a refused OK; the preview for the editor; Escape.
#include "win/main_form_fixture.h"

#include <imm.h>

namespace kolvi::test {
namespace {

HWND at(HWND dialog, int id) { return GetDlgItem(dialog, id); }
void push(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)at(dialog, id)); }

using EditorTest = MainFormFixture;

TEST_F(EditorTest, TheRealDialogFiltersTimeFieldsPlacesItsMenusPlaysForItselfAndSavesWhenCancelled) {
    start("1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n");
    writeRaw(path_, *codec_.encode("1.1\r\n1, 朝会 ,0,1,1,1,1,1,0,9,0,0,,0\r\n"));  // changed behind our back
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
        for (const wchar_t c : std::wstring(L"a1 -2\u0016" L"3")) SendMessageW(hour, WM_CHAR, c, 1);
        seen.push_back(textOf(hour));  // letters, signs, a paste key and a third digit go nowhere
        EXPECT_EQ(ImmGetContext(hour), nullptr);  // nor does an input method
        SendMessageW(at(d, IDC_MINUTE_TEXT), EM_SETSEL, 0, -1);
        SendMessageW(at(d, IDC_MINUTE_TEXT), EM_REPLACESEL, TRUE, (LPARAM)L"1a");  // a paste
        seen.push_back(textOf(at(d, IDC_MINUTE_TEXT)));
        SetWindowTextW(at(d, IDC_SECOND_TEXT), L"7");
        NMUPDOWN down{{at(d, IDC_SECOND_UPDOWN), IDC_SECOND_UPDOWN, UDN_DELTAPOS}, 500, -1};
        SendMessageW(d, WM_NOTIFY, IDC_SECOND_UPDOWN, (LPARAM)&down);
        DWORD from = 0, to = 0;
        SendMessageW(at(d, IDC_SECOND_TEXT), EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
        seen.push_back(textOf(at(d, IDC_SECOND_TEXT)) + " " + std::to_string(from) + "-" + std::to_string(to) +
                       (GetFocus() == at(d, IDC_SECOND_TEXT) ? " focused" : ""));
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
        openHourMenu(d);
        PostMessageW(at(d, IDC_NAME_COMBO), WM_KEYDOWN, VK_ESCAPE, 1);  // through the dialog's loop
        ran = true;
    });
    command(IDM_ALARM_ADD);
    ASSERT_TRUE(ran);
    const int dpi = static_cast<int>(form_->dpi());
    const std::string place = std::to_string(-MulDiv(4, dpi, 96)) + "," + std::to_string(-MulDiv(12, dpi, 96));
    EXPECT_EQ(seen, (std::vector<std::string>{"12", "", "06 0-2 focused", place + " 2", "name focused", "editor disabled",
                                              place + " 12"}));
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"box:名前とファイルにはカンマ (,) を使えません。"});
    EXPECT_EQ(sound_.calls.size(), 4u);  // open, play, stop, close
    EXPECT_EQ(fileText(), "1.1\r\n1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n");  // saved as read, nothing added
    EXPECT_TRUE(form_->alarmTimerRunning());
}

}  // namespace
}  // namespace kolvi::test
