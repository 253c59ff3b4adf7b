#include "store/alarm_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvi {
namespace {

AlarmRecord alarm(std::string name, int hour, std::string file = {}, bool deleteAfterRun = false) {
    AlarmRecord record;
    record.name = std::move(name);
    record.hour = static_cast<std::int16_t>(hour);
    record.file = std::move(file);
    record.deleteAfterRun = deleteAfterRun;
    return record;
}

std::vector<std::string> column(const AlarmList& list, int index) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < list.rowCount(); ++i) texts.push_back(list.row(i).texts[static_cast<std::size_t>(index)]);
    return texts;
}

std::vector<std::string> headers(const AlarmList& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < kColumnCount; ++i) texts.push_back(list.column(i).header);
    return texts;
}

std::vector<bool> highlights(const AlarmList& list) {
    std::vector<bool> flags;
    for (std::size_t i = 0; i < list.rowCount(); ++i) flags.push_back(list.row(i).selected);
    return flags;
}

using Texts = std::vector<std::string>;

TEST(AlarmList, RowShowsTheColumnTextsOfItsRecord) {
    AlarmList list;
    ASSERT_TRUE(list.addAlarmLine("0, 朝会 ,0,1,1,1,1,1,0,7,5,0, bell.wav ,1"));
    const AlarmRow& row = list.row(0);
    EXPECT_EQ(row.tag, "0,朝会,0,1,1,1,1,1,0,07,05,00,bell.wav,1");
    EXPECT_FALSE(row.checked);
    EXPECT_EQ(row.texts, (std::array<std::string, kColumnCount>{"1:", "朝会", "月火水木金", "07:05:00", "bell.wav", "する"}));

    ASSERT_TRUE(list.addAlarmLine("1,x,1,1,1,1,1,1,1,23,59,59,,0"));
    EXPECT_EQ(list.row(1).texts[2], "日月火水木金土");
    EXPECT_EQ(list.row(1).texts[5], "しない");
    EXPECT_TRUE(list.row(1).checked);
    ASSERT_TRUE(list.addAlarmLine(kDefaultAlarmLine));
    EXPECT_EQ(list.row(2).texts[2], "");

    EXPECT_FALSE(list.addAlarmLine("1,too,few"));
    EXPECT_EQ(list.rowCount(), 3u);
}

TEST(AlarmList, NumbersWidenAndNarrowWithTheRowCount) {
    AlarmList list;
    list.setTag("list.alm");
    for (int i = 0; i < 9; ++i) list.addAlarmLine(kDefaultAlarmLine);
    EXPECT_EQ(column(list, 0), (Texts{"1:", "2:", "3:", "4:", "5:", "6:", "7:", "8:", "9:"}));

    list.addAlarmLine(kDefaultAlarmLine);
    EXPECT_EQ(column(list, 0), (Texts{"01:", "02:", "03:", "04:", "05:", "06:", "07:", "08:", "09:", "10:"}));

    list.makeCurrent(3);
    list.deleteCurrentRow();
    EXPECT_EQ(column(list, 0), (Texts{"1:", "2:", "3:", "4:", "5:", "6:", "7:", "8:", "9:"}));

    for (int i = 0; i < 91; ++i) list.addAlarmRow(AlarmRecord{});
    list.renumberRows();
    EXPECT_EQ(list.row(0).texts[0], "001:");
    EXPECT_EQ(list.row(99).texts[0], "100:");
}

TEST(AlarmList, HeaderClicksToggleTheOrderAndMoveTheMark) {
    AlarmList list;
    EXPECT_EQ(headers(list), (Texts{"", "名前", "曜日", "時刻", "ファイル", "削除"}));
    list.addAlarmRow(alarm("b", 9));
    list.addAlarmRow(alarm("c", 7));
    list.addAlarmRow(alarm("a", 8));

    list.applySort(3, 0);
    EXPECT_EQ(column(list, 1), (Texts{"c", "a", "b"}));
    EXPECT_EQ(headers(list), (Texts{"", "名前", "曜日", "時刻 △", "ファイル", "削除"}));
    EXPECT_EQ(column(list, 0), (Texts{"1:", "2:", "3:"}));

    list.applySort(3, -1);  // same column: toggles
    EXPECT_EQ(column(list, 1), (Texts{"b", "a", "c"}));
    EXPECT_EQ(list.sortOrder(), 1);
    EXPECT_EQ(headers(list), (Texts{"", "名前", "曜日", "時刻 ▽", "ファイル", "削除"}));

    list.applySort(1, -1);  // another column: ascending
    EXPECT_EQ(column(list, 1), (Texts{"a", "b", "c"}));
    EXPECT_EQ(headers(list), (Texts{"", "名前 △", "曜日", "時刻", "ファイル", "削除"}));
    list.applySort(3, -1);  // from ascending by name to another column: ascending again
    EXPECT_EQ(list.sortOrder(), 0);
    EXPECT_EQ(column(list, 1), (Texts{"c", "a", "b"}));

    // The number column sorts by its own texts: descending reverses the rows.
    list.applySort(0, 1);
    EXPECT_EQ(column(list, 1), (Texts{"b", "a", "c"}));
    EXPECT_EQ(headers(list), (Texts{" ▽", "名前", "曜日", "時刻", "ファイル", "削除"}));
    EXPECT_EQ(column(list, 0), (Texts{"1:", "2:", "3:"}));

    list.setUpAlarmColumns();
    EXPECT_EQ(headers(list), (Texts{"", "名前", "曜日", "時刻", "ファイル", "削除"}));
    EXPECT_EQ(list.rowCount(), 0u);
}

TEST(AlarmList, UnknownSortValuesFallBack) {
    struct Case {
        int key, order, expectedKey, expectedOrder;
    };
    const Case cases[] = {{2, 7, 2, 0}, {2, -2, 2, 0}, {9, 1, 3, 1}, {-1, 0, 3, 0}};
    for (const Case& c : cases) {
        AlarmList list;
        list.applySort(c.key, c.order);
        EXPECT_EQ(list.sortKey(), c.expectedKey) << c.key << "," << c.order;
        EXPECT_EQ(list.sortOrder(), c.expectedOrder) << c.key << "," << c.order;
    }
}

TEST(AlarmList, SortIsStableAndByCodePoint) {
    AlarmList list;
    // Names in code point order: "B" < "a" < "ア" (U+30A2) < "亜" (U+4E9C) < "ｱ" (U+FF71).
    for (const char* name : {"ｱ", "亜", "a", "ア", "B"}) list.addAlarmRow(alarm(name, 0));
    list.applySort(1, 0);
    EXPECT_EQ(column(list, 1), (Texts{"B", "a", "ア", "亜", "ｱ"}));

    // Rows with equal texts keep their order in both directions (enough rows
    // that an unstable sort would not get it right by chance).
    AlarmList equal;
    Texts even, odd;
    for (int i = 0; i < 60; ++i) {
        const std::string name = std::to_string(100 + i);
        equal.addAlarmRow(alarm(name, i % 2 == 0 ? 8 : 9));
        (i % 2 == 0 ? even : odd).push_back(name);
    }
    Texts ascending = even, descending = odd;
    ascending.insert(ascending.end(), odd.begin(), odd.end());
    descending.insert(descending.end(), even.begin(), even.end());
    equal.applySort(3, 0);
    EXPECT_EQ(column(equal, 1), ascending);
    equal.applySort(3, 1);
    EXPECT_EQ(column(equal, 1), descending);
    // All day texts are equal: the order stays.
    equal.applySort(2, 0);
    EXPECT_EQ(column(equal, 1), descending);
}

TEST(AlarmList, RowsAddedWhileSortedTakeTheirPlace) {
    AlarmList list;
    list.setTag("list.alm");
    list.addAlarmRow(alarm("late", 20));
    list.addAlarmRow(alarm("early", 6));
    EXPECT_EQ(column(list, 1), (Texts{"late", "early"}));  // not sorted yet: at the end

    list.applySort(3, 0);
    list.addAlarmLine("1,noon,0,0,0,0,0,0,0,12,00,00,,0");
    list.addAlarmLine("1,noon2,0,0,0,0,0,0,0,12,00,00,,0");  // after its equal
    list.addAlarmLine("1,first,0,0,0,0,0,0,0,00,00,00,,0");
    list.addAlarmLine("1,last,0,0,0,0,0,0,0,99,00,00,,0");
    EXPECT_EQ(column(list, 1), (Texts{"first", "early", "noon", "noon2", "late", "last"}));
    EXPECT_EQ(column(list, 0), (Texts{"1:", "2:", "3:", "4:", "5:", "6:"}));
    // The new row is current and the only highlighted one.
    EXPECT_EQ(list.currentPosition(), 5u);
    EXPECT_EQ(highlights(list), (std::vector<bool>{false, false, false, false, false, true}));

    list.applySort(3, 1);
    list.addAlarmLine("1,noon3,0,0,0,0,0,0,0,12,00,00,,0");
    EXPECT_EQ(column(list, 1), (Texts{"last", "late", "noon", "noon2", "noon3", "early", "first"}));
    EXPECT_EQ(list.currentPosition(), 4u);

    // Sorted by the number column, a new row goes last.
    list.applySort(0, 0);
    list.addAlarmLine("1,zzz,0,0,0,0,0,0,0,00,00,00,,0");
    EXPECT_EQ(list.row(list.rowCount() - 1).texts[1], "zzz");
}

TEST(AlarmList, LoadingSortsOnceWhenSortingIsOn) {
    AlarmList list;
    list.applySort(1, 1);
    list.setTag("list.alm");
    list.loadRows({alarm("b", 1), alarm("a", 2), alarm("c", 3), alarm("a", 4)});
    EXPECT_EQ(column(list, 1), (Texts{"c", "b", "a", "a"}));
    EXPECT_EQ(column(list, 3), (Texts{"03:00:00", "01:00:00", "02:00:00", "04:00:00"}));
    EXPECT_EQ(column(list, 0), (Texts{"1:", "2:", "3:", "4:"}));
    // The first row is current, yet nothing is highlighted.
    EXPECT_TRUE(list.hasCurrentRow());
    EXPECT_EQ(list.currentPosition(), 0u);
    EXPECT_EQ(highlights(list), (std::vector<bool>{false, false, false, false}));

    list.loadRows({});
    EXPECT_FALSE(list.hasCurrentRow());
}

TEST(AlarmList, CurrentRowFollowsItsRowAndIsGoneAfterDelete) {
    AlarmList list;
    list.addAlarmRow(alarm("a", 3));
    EXPECT_FALSE(list.hasCurrentRow());  // no file open
    list.setTag("C:\\x\\list.alm");
    EXPECT_TRUE(list.hasCurrentRow());
    list.addAlarmRow(alarm("b", 2));
    list.addAlarmRow(alarm("c", 1));

    list.makeCurrent(0);  // "a"
    list.applySort(3, 0);  // "a" moves to the end
    ASSERT_NE(list.currentTag(), nullptr);
    EXPECT_EQ(*list.currentTag(), "1,a,0,0,0,0,0,0,0,03,00,00,,0");
    EXPECT_EQ(list.currentPosition(), 2u);

    list.deleteCurrentRow();
    EXPECT_EQ(column(list, 1), (Texts{"c", "b"}));
    EXPECT_FALSE(list.hasCurrentRow());
    EXPECT_EQ(list.currentTag(), nullptr);
    list.deleteCurrentRow();  // nothing current: nothing removed
    EXPECT_EQ(list.rowCount(), 2u);

    list.setSelected(1, true);
    EXPECT_EQ(list.currentPosition(), 1u);
    list.setSelected(0, true);
    EXPECT_EQ(highlights(list), (std::vector<bool>{true, false}));
    list.setSelected(0, false);
    EXPECT_EQ(list.currentPosition(), 0u);
    list.makeCurrent(1);
    list.clearCurrent();
    EXPECT_FALSE(list.hasCurrentRow());
    EXPECT_EQ(highlights(list), (std::vector<bool>{false, false}));
}

TEST(AlarmList, CheckBoxRewritesOnlyTheFirstCharacter) {
    AlarmList list;
    list.addAlarmLine("0,朝会,0,1,1,1,1,1,0,09,00,00,,0");
    EXPECT_TRUE(list.changeCheck(0, true));
    EXPECT_EQ(list.row(0).tag, "1,朝会,0,1,1,1,1,1,0,09,00,00,,0");
    EXPECT_TRUE(list.row(0).checked);
    EXPECT_FALSE(list.changeCheck(0, true));  // already ticked
    EXPECT_TRUE(list.changeCheck(0, false));
    EXPECT_EQ(list.row(0).tag, "0,朝会,0,1,1,1,1,1,0,09,00,00,,0");
    EXPECT_FALSE(list.row(0).checked);
    EXPECT_FALSE(list.changeCheck(5, true));
}

}  // namespace
}  // namespace kolvi
