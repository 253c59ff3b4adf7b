#include "store/alarm_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvi {
namespace {

using Texts = std::vector<std::string>;

AlarmRecord alarm(std::string name, int hour) {
    AlarmRecord record;
    record.name = std::move(name);
    record.hour = static_cast<std::int16_t>(hour);
    return record;
}

Texts column(const AlarmList& list, Column c) {
    Texts texts;
    for (std::size_t i = 0; i < list.rowCount(); ++i) texts.push_back(list.row(i).text(c));
    return texts;
}

Texts headers(const AlarmList& list) {
    Texts texts;
    for (int i = 0; i < kColumnCount; ++i) texts.push_back(list.column(i).header);
    return texts;
}

std::vector<bool> highlights(const AlarmList& list) {
    std::vector<bool> flags;
    for (std::size_t i = 0; i < list.rowCount(); ++i) flags.push_back(list.row(i).selected);
    return flags;
}

TEST(AlarmList, RowShowsTheColumnTextsOfItsRecord) {
    AlarmList list;
    ASSERT_TRUE(list.addAlarmLine("0, 朝会 ,0,1,1,1,1,1,0,7,5,0, bell.wav ,1"));
    ASSERT_TRUE(list.addAlarmLine("1,x,1,1,1,1,1,1,1,23,59,59,,0"));
    EXPECT_FALSE(list.addAlarmLine("1,too,few"));
    EXPECT_EQ(list.row(0).tag, "0,朝会,0,1,1,1,1,1,0,07,05,00,bell.wav,1");
    using Row = std::array<std::string, kColumnCount>;
    EXPECT_EQ(list.row(0).texts, (Row{"1:", "朝会", "月火水木金", "07:05:00", "bell.wav", "する"}));
    EXPECT_EQ(list.row(1).texts, (Row{"2:", "x", "日月火水木金土", "23:59:59", "", "しない"}));
    EXPECT_FALSE(list.row(0).checked);
    EXPECT_TRUE(list.row(1).checked);
}

TEST(AlarmList, NumbersWidenAndNarrowWithTheRowCount) {
    AlarmList list;
    list.setTag("list.alm");
    for (int i = 0; i < 10; ++i) list.addAlarmLine(kDefaultAlarmLine);
    EXPECT_EQ(list.row(0).text(Column::number), "01:");
    list.makeCurrent(3);
    list.deleteCurrentRow();
    EXPECT_EQ(column(list, Column::number), (Texts{"1:", "2:", "3:", "4:", "5:", "6:", "7:", "8:", "9:"}));
    for (int i = 0; i < 91; ++i) list.addAlarmRow(AlarmRecord{});
    list.renumberRows();
    EXPECT_EQ(list.row(0).text(Column::number), "001:");
    EXPECT_EQ(list.row(99).text(Column::number), "100:");
}

TEST(AlarmList, HeaderClicksToggleTheOrderAndMoveTheMark) {
    AlarmList list;
    for (const auto& [name, hour] : {std::pair{"b", 9}, {"c", 7}, {"a", 8}}) list.addAlarmRow(alarm(name, hour));
    list.applySort(3, 0);
    EXPECT_EQ(column(list, Column::name), (Texts{"c", "a", "b"}));
    list.applySort(3, -1);  // same column: toggles
    EXPECT_EQ(column(list, Column::name), (Texts{"b", "a", "c"}));
    EXPECT_EQ(headers(list), (Texts{"", "名前", "曜日", "時刻 ▽", "ファイル", "削除"}));
    list.applySort(1, -1);  // another column: ascending
    EXPECT_EQ(column(list, Column::name), (Texts{"a", "b", "c"}));
    // The number column sorts by its own texts: descending reverses the rows.
    list.applySort(0, 1);
    EXPECT_EQ(column(list, Column::name), (Texts{"c", "b", "a"}));
    EXPECT_EQ(headers(list), (Texts{" ▽", "名前", "曜日", "時刻", "ファイル", "削除"}));
    list.setUpAlarmColumns();
    EXPECT_EQ(headers(list), (Texts{"", "名前", "曜日", "時刻", "ファイル", "削除"}));
    // A hand-edited settings file: an unknown key is the time column, an unknown order ascending.
    for (const auto& [key, order, expectedKey, expectedOrder] : {std::array{2, 7, 2, 0}, {9, 1, 3, 1}, {-1, 0, 3, 0}}) {
        list.applySort(key, order);
        EXPECT_EQ(std::pair(list.sortKey(), list.sortOrder()), std::pair(expectedKey, expectedOrder)) << key;
    }
}

// Equal texts keep their order in both directions (enough rows that an
// unstable sort would not get it right by chance); texts compare by code
// point: "B" < "a" < "ア" (U+30A2) < "亜" (U+4E9C) < "ｱ" (U+FF71).
TEST(AlarmList, SortIsStableAndByCodePoint) {
    AlarmList list;
    Texts even, odd;
    for (int i = 0; i < 60; ++i) {
        const std::string name = std::to_string(100 + i);
        list.addAlarmRow(alarm(name, i % 2 == 0 ? 8 : 9));
        (i % 2 == 0 ? even : odd).push_back(name);
    }
    Texts ascending = even, descending = odd;
    ascending.insert(ascending.end(), odd.begin(), odd.end());
    descending.insert(descending.end(), even.begin(), even.end());
    list.applySort(3, 0);
    EXPECT_EQ(column(list, Column::name), ascending);
    list.applySort(3, 1);
    EXPECT_EQ(column(list, Column::name), descending);
    list.clearRows();
    for (const char* name : {"ｱ", "亜", "a", "ア", "B"}) list.addAlarmRow(alarm(name, 0));
    list.applySort(1, 0);
    EXPECT_EQ(column(list, Column::name), (Texts{"B", "a", "ア", "亜", "ｱ"}));
}

// A new row takes its sorted place after its equals (at the end until sorting
// is on, and by the number column), becomes current and is the only one highlighted.
TEST(AlarmList, RowsAddedWhileSortedTakeTheirPlace) {
    AlarmList list;
    list.setTag("list.alm");
    for (const auto& [name, hour] : {std::pair{"late", 20}, {"early", 6}}) list.addAlarmRow(alarm(name, hour));
    EXPECT_EQ(column(list, Column::name), (Texts{"late", "early"}));
    list.applySort(3, 1);
    for (const auto& [name, hour] : {std::pair{"noon", 12}, {"noon2", 12}, {"first", 0}}) {
        list.addAlarmRow(alarm(name, hour));
    }
    EXPECT_EQ(column(list, Column::name), (Texts{"late", "noon", "noon2", "early", "first"}));
    list.addAlarmLine("1,noon3,0,0,0,0,0,0,0,12,00,00,,0");
    EXPECT_EQ(column(list, Column::name), (Texts{"late", "noon", "noon2", "noon3", "early", "first"}));
    EXPECT_EQ(column(list, Column::number), (Texts{"1:", "2:", "3:", "4:", "5:", "6:"}));
    EXPECT_EQ(highlights(list), (std::vector<bool>{false, false, false, true, false, false}));
    list.applySort(0, 0);
    list.addAlarmRow(alarm("zzz", 0));
    EXPECT_EQ(list.row(list.rowCount() - 1).text(Column::name), "zzz");
}

// A file's rows are sorted once when sorting is on; the first row is current,
// yet nothing is highlighted.
TEST(AlarmList, LoadingSortsOnceWhenSortingIsOn) {
    AlarmList list;
    list.applySort(1, 1);
    list.setTag("list.alm");
    list.loadRows({alarm("b", 1), alarm("a", 2), alarm("c", 3), alarm("a", 4)});
    EXPECT_EQ(column(list, Column::time), (Texts{"03:00:00", "01:00:00", "02:00:00", "04:00:00"}));
    EXPECT_EQ(column(list, Column::number), (Texts{"1:", "2:", "3:", "4:"}));
    EXPECT_EQ(list.currentPosition(), 0u);
    EXPECT_EQ(highlights(list), (std::vector<bool>{false, false, false, false}));
}

TEST(AlarmList, CurrentRowFollowsItsRowAndIsGoneAfterDelete) {
    AlarmList list;
    list.addAlarmRow(alarm("a", 3));
    EXPECT_FALSE(list.hasCurrentRow());  // no file open
    list.setTag("C:\\x\\list.alm");
    for (const auto& [name, hour] : {std::pair{"b", 2}, {"c", 1}}) list.addAlarmRow(alarm(name, hour));
    list.makeCurrent(0);   // "a"
    list.applySort(3, 0);  // "a" moves to the end
    ASSERT_NE(list.currentTag(), nullptr);
    EXPECT_EQ(*list.currentTag(), "1,a,0,0,0,0,0,0,0,03,00,00,,0");
    list.deleteCurrentRow();
    EXPECT_EQ(column(list, Column::name), (Texts{"c", "b"}));
    EXPECT_FALSE(list.hasCurrentRow());
    list.deleteCurrentRow();  // nothing current: nothing removed
    EXPECT_EQ(list.rowCount(), 2u);
    // Highlighting makes a row current; clearing the highlight keeps it current.
    list.setSelected(1, true);
    list.setSelected(0, true);
    EXPECT_EQ(highlights(list), (std::vector<bool>{true, false}));
    list.setSelected(0, false);
    EXPECT_EQ(list.currentPosition(), 0u);
    list.clearCurrent();
    EXPECT_FALSE(list.hasCurrentRow());
}

TEST(AlarmList, CheckBoxRewritesOnlyTheFirstCharacter) {
    AlarmList list;
    list.addAlarmLine("0,朝会,0,1,1,1,1,1,0,09,00,00,,0");
    EXPECT_TRUE(list.changeCheck(0, true));
    EXPECT_EQ(list.row(0).tag, "1,朝会,0,1,1,1,1,1,0,09,00,00,,0");
    EXPECT_TRUE(list.row(0).checked);
    EXPECT_FALSE(list.changeCheck(0, true));  // already ticked: nothing to save
    EXPECT_TRUE(list.changeCheck(0, false));
    EXPECT_EQ(list.row(0).tag[0], '0');
    EXPECT_FALSE(list.changeCheck(5, true));
}

}  // namespace
}  // namespace kolvi
