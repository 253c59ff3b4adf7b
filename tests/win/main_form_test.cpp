// The main window's list view bound to the real alarm store and real files:
// rows, headers, check boxes by mouse and space key, header clicks, fonts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "mainwindow/win32/main_form.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_codec.h"
#include "platform/win32/win32_file_system.h"
#include "settings/settings_file.h"
#include "store/alarm_file.h"
#include "win/main_form_fixture.h"

namespace kolvi::test {
namespace {

using win32::narrow;
using win32::widen;

std::string cp932(const std::string& utf8) { return *win32::Win32Codec().encode(utf8); }

class MainFormTest : public MainFormFixture {
protected:
    // Opens the file text (UTF-8, converted to 932) in a fresh main window.
    void open(const std::string& fileText) {
        path_ = dir_.file("test.alm");
        writeRaw(path_, cp932(fileText));
        startForm(path_);
        ASSERT_EQ(list_.tag(), "test.alm");
    }

    HWND lv() const { return form_->listView(); }

    std::string cell(int item, int column) const {
        wchar_t buffer[512] = {};
        LVITEMW it{};
        it.iSubItem = column;
        it.pszText = buffer;
        it.cchTextMax = 512;
        SendMessageW(lv(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
        return narrow(buffer);
    }

    std::string header(int column) const {
        wchar_t buffer[256] = {};
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT;
        c.pszText = buffer;
        c.cchTextMax = 256;
        ListView_GetColumn(lv(), column, &c);
        return narrow(buffer);
    }

    bool checkedInControl(int item) const {
        return (ListView_GetItemState(lv(), item, LVIS_STATEIMAGEMASK) >> 12) == 2;
    }

    // A real mouse press on the row's check box, found by hit testing.
    void clickCheckBox(int item) {
        RECT bounds{};
        ListView_GetItemRect(lv(), item, &bounds, LVIR_BOUNDS);
        for (int x = bounds.left; x < bounds.left + 40; ++x) {
            LVHITTESTINFO hit{};
            hit.pt = {x, (bounds.top + bounds.bottom) / 2};
            if (ListView_HitTest(lv(), &hit) == item && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
                const LPARAM at = MAKELPARAM(hit.pt.x, hit.pt.y);
                SendMessageW(lv(), WM_LBUTTONDOWN, MK_LBUTTON, at);
                SendMessageW(lv(), WM_LBUTTONUP, 0, at);
                pump();
                return;
            }
        }
        FAIL() << "no check box found on row " << item;
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

    std::string fileText() const { return MainFormFixture::fileText(path_); }

    std::string path_;
};

const char* const kThreeAlarms =
    "1.1\r\n"
    "1,朝会,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0\r\n"
    "0,帰宅,1,1,1,1,1,1,1,18,00,00,lock,0\r\n"
    "1,表ソ,0,0,0,0,0,0,1,07,05,00,,1\r\n";

TEST_F(MainFormTest, ShowsTheRowsSortedByTimeWithTitleHeadersAndCheckBoxes) {
    open(kThreeAlarms);
    EXPECT_EQ(narrow([&] {
                  wchar_t title[256] = {};
                  GetWindowTextW(form_->hwnd(), title, 256);
                  return std::wstring(title);
              }()),
              "test.alm - Kolviアラーム");
    ASSERT_EQ(ListView_GetItemCount(lv()), 3);
    EXPECT_TRUE(IsWindowVisible(lv()));

    const char* const headers[] = {"", "名前", "曜日", "時刻 △", "ファイル", "削除"};
    const int widths[] = {40, 40, 100, 70, 200, 40};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(header(c), headers[c]);
        EXPECT_EQ(ListView_GetColumnWidth(lv(), c), MulDiv(widths[c], static_cast<int>(form_->dpi()), 96));
    }
    const char* const rows[3][6] = {
        {"1:", "表ソ", "土", "07:05:00", "", "する"},
        {"2:", "朝会", "月火水木金", "09:00:00", "C:\\sound\\bell.wav", "しない"},
        {"3:", "帰宅", "日月火水木金土", "18:00:00", "lock", "しない"},
    };
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 6; ++c) EXPECT_EQ(cell(r, c), rows[r][c]) << r << "," << c;
    }
    EXPECT_TRUE(checkedInControl(0));
    EXPECT_TRUE(checkedInControl(1));
    EXPECT_FALSE(checkedInControl(2));
    // Right after opening nothing is highlighted.
    EXPECT_EQ(ListView_GetSelectedCount(lv()), 0u);
}

TEST_F(MainFormTest, MouseOnTheCheckBoxRewritesTheRowAndSavesAtOnce) {
    open(kThreeAlarms);
    clickCheckBox(2);  // 帰宅, off
    EXPECT_TRUE(checkedInControl(2));
    EXPECT_EQ(fileText(),
              "1.1\r\n"
              "1,表ソ,0,0,0,0,0,0,1,07,05,00,,1\r\n"
              "1,朝会,0,1,1,1,1,1,0,09,00,00,C:\\sound\\bell.wav,0\r\n"
              "1,帰宅,1,1,1,1,1,1,1,18,00,00,lock,0\r\n");
    clickCheckBox(0);
    EXPECT_FALSE(checkedInControl(0));
    EXPECT_EQ(fileText().substr(0, 7), "1.1\r\n0,");
    EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(MainFormTest, SpaceTogglesTheFocusedRow) {
    open(kThreeAlarms);
    list_.makeCurrent(1, true);
    form_->refreshList();  // as a click on the row would
    SetFocus(lv());
    SendMessageW(lv(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(lv(), WM_CHAR, L' ', 0);
    SendMessageW(lv(), WM_KEYUP, VK_SPACE, 0);
    pump();
    EXPECT_FALSE(checkedInControl(1));
    EXPECT_NE(fileText().find("0,朝会,"), std::string::npos);
    EXPECT_TRUE(checkedInControl(0));
    EXPECT_TRUE(checkedInControl(2) == false);
}

TEST_F(MainFormTest, HeaderClicksSortAndMoveTheMarkButTheNumberColumnDoesNothing) {
    open(kThreeAlarms);
    clickHeader(3);  // 時刻, already ascending: toggles
    EXPECT_EQ(header(3), "時刻 ▽");
    EXPECT_EQ(cell(0, 1), "帰宅");
    EXPECT_EQ(cell(0, 0), "1:");
    clickHeader(1);  // 名前 ascending, mark moves
    EXPECT_EQ(header(1), "名前 △");
    EXPECT_EQ(header(3), "時刻");
    // Code point order: 帰 U+5E30 < 朝 U+671D < 表 U+8868.
    EXPECT_EQ(cell(0, 1), "帰宅");
    EXPECT_EQ(cell(1, 1), "朝会");
    EXPECT_EQ(cell(2, 1), "表ソ");
    clickHeader(0);
    EXPECT_EQ(header(1), "名前 △");
    EXPECT_EQ(header(0), "");
    EXPECT_EQ(cell(0, 1), "帰宅");
    // Sorting alone saves nothing.
    EXPECT_EQ(fileText(), kThreeAlarms);
}

TEST_F(MainFormTest, FailedSaveIsReportedAndTheOldFileStays) {
    open(kThreeAlarms);
    SetFileAttributesW(widen(path_).c_str(), FILE_ATTRIBUTE_READONLY);
    clickCheckBox(2);
    ASSERT_EQ(messages_.errors.size(), 1u);
    EXPECT_EQ(messages_.errors[0], "ファイルを保存できません。\r\n" + path_);
    EXPECT_EQ(fileText(), kThreeAlarms);
    EXPECT_EQ(list_.rowCount(), 3u);
    EXPECT_TRUE(checkedInControl(2));
}

TEST_F(MainFormTest, NoFileOpenHidesTheList) {
    startForm("");
    wchar_t title[256] = {};
    GetWindowTextW(form_->hwnd(), title, 256);
    EXPECT_EQ(narrow(title), "Kolviアラーム");
    EXPECT_FALSE(IsWindowVisible(lv()));
    EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(MainFormTest, TheListFontHasGlyphsForEveryJapaneseText) {
    open(kThreeAlarms);
    const HDC dc = GetDC(lv());
    const HGDIOBJ old = SelectObject(dc, form_->font());
    const std::wstring text = widen("名前曜日時刻ファイル削除するしない△▽日月火水木金土Kolviアラーム朝会帰宅表ソ");
    std::wstring glyphs(text.size(), L'\0');
    ASSERT_NE(GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()),
                               reinterpret_cast<WORD*>(glyphs.data()), GGI_MARK_NONEXISTING_GLYPHS),
              GDI_ERROR);
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_NE(static_cast<WORD>(glyphs[i]), 0xFFFF) << "no glyph for U+" << std::hex << int(text[i]);
    }
    SelectObject(dc, old);
    ReleaseDC(lv(), dc);
}

TEST_F(MainFormTest, AHundredThousandAlarmsOpenAndShowWithinASecond) {
    std::string text = "1.1\r\n";
    for (int i = 0; i < 100000; ++i) {
        text += "1,アラーム" + std::to_string(i) + ",1,1,1,1,1,1,1," + std::to_string(10 + i % 14) + "," +
                std::to_string(10 + i % 50) + ",00,,0\r\n";
    }
    path_ = dir_.file("big.alm");
    writeRaw(path_, cp932(text));
    const auto start = std::chrono::steady_clock::now();
    startForm(path_);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(ListView_GetItemCount(lv()), 100000);
    EXPECT_EQ(cell(0, 0), "000001:");
    EXPECT_EQ(cell(0, 3), "10:10:00");
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 1000);
}

}  // namespace
}  // namespace kolvi::test
