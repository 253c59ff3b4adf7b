#include "store/alarm_list.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kolvi {
namespace {

using Texts = std::vector<std::string>;

AlarmRecord alarm(std::string name, int hour) {
    AlarmRecord record;
    record.name = std::move(name);
    record.hour = static_cast<std::int16_t>(hour);
    return record;
}

// One column's texts; with highlightedOnly, the names of the highlighted rows.
Texts column(const AlarmList& list, Column c = Column::name, bool highlightedOnly = false) {
    Texts texts;
    for (std::size_t i = 0; i < list.rowCount(); ++i) {
        if (!highlightedOnly || list.row(i).selected) texts.push_back(list.row(i).text(c));
    }
    return texts;
}

TEST(AlarmRecord, ToIntegerReadsDecimalNotationRoundingHalvesToEven) {
    const std::pair<std::string_view, std::int16_t> cases[] = {
        {"-7", -7},       {"+7", 7},         {" 12 ", 12},    {"2.5", 2},         {"3.5", 4},      {"-2.5", -2},
        {"-3.5", -4},     {"2.51", 3},       {"2.500", 2},    {"2.4999", 2},      {"-0.4", 0},     {".6", 1},
        {"5.", 5},        {"32767", 32767},  {"-32768", -32768}, {"32767.5", 0},  {"-32768.5", -32768},
        {"32768", 0},     {"-32769", 0},     {"99999999999999999999999", 0},      {"", 0},         {"1a", 0},
        {"1e2", 0},       {"1.2.3", 0},      {".", 0},        {"+-1", 0},         {"1 2", 0},      {"\t1", 0},
        {"１", 0},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(toInteger(text), expected) << "text \"" << text << "\"";
}

// formatAlarmLine(parseAlarmLine(line)): the form every row keeps. Flags: only
// the number 1 is true (2, -1 and 1.5 are not; 1.0, 01 and 0.5000001 are). No
// range check on the clock fields; out of the 16-bit range reads as 0, like a
// word. Only outer spaces go, in both texts. Fields after the fourteenth go.
TEST(AlarmRecord, LineIsNormalisedThroughTheRecord) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"2,a,-1,1.0,01, 1 ,1.5,0.5000001,x,0,0,0,,-1", "0,a,0,1,1,1,0,1,0,00,00,00,,0"},
        {"1,a,0,0,0,0,0,0,0,123,-5,2.5,,0", "1,a,0,0,0,0,0,0,0,123,-05,02,,0"},
        {"32768,a,0,0,0,0,0,0,0,32768,word,32767,,1", "0,a,0,0,0,0,0,0,0,00,00,32767,,1"},
        {"1,  \ta  b ,0,0,0,0,0,0,0,1,2,3,  C:\\my sounds\\x y.wav  ,0", "1,\ta  b,0,0,0,0,0,0,0,01,02,03,C:\\my sounds\\x y.wav,0"},
        {"1,a,0,0,0,0,0,0,0,1,2,3,f,1,extra,more", "1,a,0,0,0,0,0,0,0,01,02,03,f,1"},
        {",,,,,,,,,,,,,", "0,,0,0,0,0,0,0,0,00,00,00,,0"},
    };
    for (const auto& [given, held] : cases) {
        const std::optional<AlarmRecord> record = parseAlarmLine(given);
        ASSERT_TRUE(record.has_value()) << given;
        EXPECT_EQ(formatAlarmLine(*record), held) << given;
    }
    for (std::string_view line : {"", "1.1", "1,a,0,0,0,0,0,0,0,1,2,3,f"}) EXPECT_EQ(parseAlarmLine(line), std::nullopt) << line;
}

// A row shows its record's texts; the check box rewrites only the line's
// first character, and says when there is something to save.
TEST(AlarmList, RowShowsTheColumnTextsOfItsRecord) {
    AlarmList list;
    ASSERT_TRUE(list.addAlarmLine("0,朝会,0,1,1,1,1,1,0,7,5,0,bell.wav,1") && list.addAlarmLine("1,x,1,1,1,1,1,1,1,23,59,59,,0"));
    using Row = std::array<std::string, kColumnCount>;
    EXPECT_EQ(list.row(0).texts, (Row{"1:", "朝会", "月火水木金", "07:05:00", "bell.wav", "する"}));
    EXPECT_EQ(list.row(1).texts, (Row{"2:", "x", "日月火水木金土", "23:59:59", "", "しない"}));
    EXPECT_EQ(std::pair(list.row(0).checked, list.row(1).checked), std::pair(false, true));
    EXPECT_TRUE(list.changeCheck(0, true) && list.row(0).checked);
    EXPECT_EQ(list.row(0).tag, "1,朝会,0,1,1,1,1,1,0,07,05,00,bell.wav,1");
    EXPECT_FALSE(list.changeCheck(0, true) || list.changeCheck(2, true) || list.addAlarmLine("1,too,few"));
}

TEST(AlarmList, NumbersWidenAndNarrowWithTheRowCount) {
    AlarmList list;
    list.setTag("list.alm");
    for (int i = 0; i < 10; ++i) list.addAlarmLine(kDefaultAlarmLine);
    EXPECT_EQ(list.row(0).text(Column::number), "01:");
    list.deleteCurrentRow();
    EXPECT_EQ(column(list, Column::number), (Texts{"1:", "2:", "3:", "4:", "5:", "6:", "7:", "8:", "9:"}));
    for (int i = 0; i < 91; ++i) list.addAlarmRow(AlarmRecord{});
    list.renumberRows();
    EXPECT_EQ(list.row(0).text(Column::number) + list.row(99).text(Column::number), "001:100:");
}

// The window tests click the headers; here the rules a click does not show.
// The number column sorts by its own texts: descending reverses the rows. A
// hand-edited settings file may give an unknown key (taken as the time
// column) or order (ascending).
TEST(AlarmList, SortByTheNumberColumnOrAnUnknownOne) {
    AlarmList list;
    for (const auto& [name, hour] : {std::pair{"b", 9}, {"c", 7}, {"a", 8}}) list.addAlarmRow(alarm(name, hour));
    list.applySort(3, 0);
    list.applySort(3, -1);  // the same column toggles
    EXPECT_EQ(column(list), (Texts{"b", "a", "c"}));
    list.applySort(0, 1);
    EXPECT_EQ(column(list), (Texts{"c", "a", "b"}));
    EXPECT_EQ(std::pair(list.column(0).header, list.column(3).header), std::pair(std::string(" ▽"), std::string("時刻")));
    list.setUpAlarmColumns();
    EXPECT_EQ(list.column(0).header, "");
    for (const auto& [key, order, expectedKey, expectedOrder] : {std::array{2, 7, 2, 0}, {9, 1, 3, 1}, {-1, -1, 3, 0}}) {
        list.applySort(key, order);
        EXPECT_EQ(std::pair(list.sortKey(), list.sortOrder()), std::pair(expectedKey, expectedOrder)) << key;
    }
}

// Equal texts keep their order in both directions (enough rows that an
// unstable sort would not get it right by chance); texts compare by code
// point: "B" < "a" < "ア" (U+30A2) < "亜" (U+4E9C) < "ｱ" (U+FF71).
TEST(AlarmList, SortIsStableAndByCodePoint) {
    AlarmList list;
    Texts names;  // in the order added, each led by its hour
    for (int i = 0; i < 60; ++i) {
        names.push_back(std::to_string(8 + i % 2) + "-" + std::to_string(i));
        list.addAlarmRow(alarm(names.back(), 8 + i % 2));
    }
    for (const auto& [order, first] : {std::pair{0, '8'}, {1, '9'}}) {
        list.applySort(3, order);
        Texts expected = names;
        std::stable_partition(expected.begin(), expected.end(), [first](const std::string& n) { return n[0] == first; });
        EXPECT_EQ(column(list), expected) << order;
    }
    list.clearRows();
    for (const char* name : {"ｱ", "亜", "a", "ア", "B"}) list.addAlarmRow(alarm(name, 0));
    list.applySort(1, 0);
    EXPECT_EQ(column(list), (Texts{"B", "a", "ア", "亜", "ｱ"}));
}

// A new row goes to the end until sorting is on, then to its sorted place
// after its equals (by the number column: at the end); it becomes current and
// is the only one highlighted. A file's rows are sorted once as they load;
// the first is current, yet none is highlighted.
TEST(AlarmList, RowsAddedOrLoadedWhileSortedTakeTheirPlace) {
    AlarmList list;
    list.setTag("list.alm");
    for (const auto& [name, hour] : {std::pair{"late", 20}, {"early", 6}}) list.addAlarmRow(alarm(name, hour));
    EXPECT_EQ(column(list), (Texts{"late", "early"}));
    list.applySort(3, 1);
    for (const auto& [name, hour] : {std::pair{"noon", 12}, {"noon2", 12}, {"first", 0}}) list.addAlarmRow(alarm(name, hour));
    list.addAlarmLine("1,noon3,0,0,0,0,0,0,0,12,00,00,,0");
    EXPECT_EQ(column(list), (Texts{"late", "noon", "noon2", "noon3", "early", "first"}));
    EXPECT_EQ(column(list, Column::number), (Texts{"1:", "2:", "3:", "4:", "5:", "6:"}));
    EXPECT_EQ(column(list, Column::name, true), Texts{"noon3"});
    list.applySort(0, 0);
    list.addAlarmRow(alarm("zzz", 0));
    EXPECT_EQ(column(list).back(), "zzz");
    list.applySort(1, 1);
    list.loadRows({alarm("b", 1), alarm("a", 2), alarm("c", 3), alarm("a", 4)});
    EXPECT_EQ(column(list, Column::time), (Texts{"03:00:00", "01:00:00", "02:00:00", "04:00:00"}));
    EXPECT_EQ(column(list, Column::number), (Texts{"1:", "2:", "3:", "4:"}));
    EXPECT_EQ(std::pair(list.currentPosition(), column(list, Column::name, true)), std::pair(std::optional<std::size_t>(0), Texts{}));
}

// The current row follows its row through sorting and is gone after a
// delete; highlighting makes a row current, clearing the highlight keeps it.
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
    list.deleteCurrentRow();  // nothing current: nothing removed
    EXPECT_EQ(column(list), (Texts{"c", "b"}));
    list.setSelected(1, true);
    list.setSelected(0, true);
    EXPECT_EQ(column(list, Column::name, true), Texts{"c"});
    list.setSelected(0, false);
    EXPECT_EQ(list.currentPosition(), 0u);
    list.clearCurrent();
    EXPECT_FALSE(list.hasCurrentRow());
}

}  // namespace
}  // namespace kolvi
