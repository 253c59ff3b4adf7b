// The alarm editor from its real template, driven from inside its own modal
// loop: what reaches the time fields, the up-downs, the preset menus at their
// labels and the kinds; the preview for the editor; a refused OK; Escape.
#include "win/main_form_fixture.h"

#include <imm.h>

namespace kolvi::test {
namespace {

HWND at(HWND dialog, int id) { return GetDlgItem(dialog, id); }
void push(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)at(dialog, id)); }

class EditorTest : public MainFormFixture {
protected:
    // Opens the editor with the command and plays the steps in it, each from
    // a timer inside its loop once the one before has returned.
    void edit(int id, std::vector<std::function<void(HWND)>> steps) {
        std::size_t ran = 0;
        std::function<void()> next = [&] {
            steps[ran++](GetActiveWindow());
            if (ran < steps.size()) later(60, next);
        };
        later(60, next);
        command(id);
        g_later = nullptr;
        EXPECT_EQ(ran, steps.size()) << "the editor closed before every step ran";
    }
};

TEST_F(EditorTest, TimeFieldsPresetMenusAndKindsWorkInTheRealDialog) {
    start("");
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
    edit(IDM_ALARM_ADD,
         {[&](HWND d) {
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
              push(d, IDC_SELECT_TIMER);  // a countdown: the hour label offers lengths
              openHourMenu(d);
          },
          [](HWND d) { push(d, IDCANCEL); }});
    const int dpi = static_cast<int>(form_->dpi());
    const std::string place = std::to_string(-MulDiv(4, dpi, 96)) + "," + std::to_string(-MulDiv(12, dpi, 96));
    EXPECT_EQ(seen, (std::vector<std::string>{"12", "", "06 0-2 focused", place + " 2", place + " 12"}));
}

TEST_F(EditorTest, ThePreviewPlaysForTheEditorARefusedOkKeepsItOpenAndEscapeStillSaves) {
    start("1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n");
    writeRaw(path_, *codec_.encode("1.1\r\n1, 朝会 ,0,1,1,1,1,1,0,9,0,0,,0\r\n"));  // changed behind our back
    bool editorEnabled = true;
    edit(IDM_ALARM_ADD, {[&](HWND d) {
                             SetWindowTextW(at(d, IDC_FILE_TEXT), L"C:\\bell.wav");
                             later(200, [&, d] {
                                 editorEnabled = IsWindowEnabled(d) != 0;
                                 PostMessageW(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
                             });
                             push(d, IDC_FILE_PREVIEW);
                         },
                         [](HWND d) {
                             SetWindowTextW(at(d, IDC_NAME_TEXT), L"a,b");
                             push(d, IDOK);
                             EXPECT_EQ(GetFocus(), at(d, IDC_NAME_TEXT));
                             PostMessageW(at(d, IDC_NAME_TEXT), WM_KEYDOWN, VK_ESCAPE, 1);  // through the dialog's loop
                         }});
    EXPECT_FALSE(editorEnabled);
    EXPECT_EQ(sound_.calls.size(), 4u);  // open, play, stop, close
    EXPECT_EQ(desktop_.asked, std::vector<std::string>{"box:名前とファイルにはカンマ (,) を使えません。"});
    EXPECT_EQ(fileText(), "1.1\r\n1,朝会,0,1,1,1,1,1,0,09,00,00,,0\r\n");
    EXPECT_TRUE(form_->alarmTimerRunning());
}

}  // namespace
}  // namespace kolvi::test
