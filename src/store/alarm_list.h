#pragma once
// The alarm list: the alarms' only store while the program runs, and the model
// the main window's list view displays. Positions are 0-based here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/alarm_record.h"
#include "texts/list_texts.h"

namespace kolvi {

inline constexpr int kColumnCount = 6;
inline constexpr std::array<int, kColumnCount> kDefaultColumnWidths{40, 40, 100, 70, 200, 40};
static_assert(kColumnHeaders.size() == kColumnCount);

// The list's columns (subitems) in display order; the sort key is a column.
enum class Column : std::size_t { number, name, days, time, file, deleteAfterRun };
// toggle is a header click: the sorted column's other order, or ascending
// for a column not sorted yet.
enum class SortOrder { ascending, descending, toggle };

struct AlarmRow {
    std::uint64_t id = 0;  // identity that survives sorting, inserts and deletes
    std::string tag;       // the row's alarm line, always in formatted form (not the file tag)
    bool checked = false;
    // Fired in the current second: the alarm check's latch, drawn dimmed.
    bool ghosted = false;
    bool selected = false;  // highlighted
    std::array<std::string, kColumnCount> texts;

    const std::string& text(Column column) const { return texts[static_cast<std::size_t>(column)]; }
};

struct AlarmColumn {
    std::string header;
    int width = 0;
};

std::string dayText(const AlarmRecord& record);
std::string timeColumnText(const AlarmRecord& record);

class AlarmList {
public:
    AlarmList();

    // Columns.
    void setUpAlarmColumns();
    void setColumnWidths(const std::array<int, kColumnCount>& widths);
    void setColumnWidth(int column, int width);  // column 0-5
    const AlarmColumn& column(int column) const;  // column 0-5

    // File tag: "" when no file is open.
    const std::string& tag() const { return tag_; }
    void setTag(std::string tag) { tag_ = std::move(tag); }
    bool isFileOpen() const { return !tag_.empty(); }

    // Rows.
    std::size_t rowCount() const { return rows_.size(); }
    const AlarmRow& row(std::size_t position) const { return rows_[position]; }
    std::optional<std::size_t> findRow(std::uint64_t id) const;
    void clearRows();
    // One new row at its place (the end, or its sorted place once sorting is
    // on); it becomes current and highlighted. Does not renumber.
    void addAlarmRow(const AlarmRecord& record);
    // An edited alarm: the row with this identity goes (if it is still
    // there) and the record comes in as a new row would. Does not renumber.
    void replaceRow(std::uint64_t id, const AlarmRecord& record);
    // Parse, add, renumber. False (nothing added) when the line yields no record.
    bool addAlarmLine(std::string_view line);
    // The rows of a file just read, in file order (sorted once if sorting is
    // on), renumbered; the first row becomes current without a highlight.
    void loadRows(const std::vector<AlarmRecord>& records);
    void renumberRows();

    // Sorting: marks the column's header and renumbers. Equal texts keep
    // their order; texts compare by code point. From the first call on, rows
    // added later take their sorted place at once (by the number column: at
    // the end, as its texts are rewritten by renumbering).
    void applySort(Column column, SortOrder order);
    Column sortColumn() const { return sortColumn_; }
    SortOrder sortOrder() const { return sortOrder_; }  // never toggle
    // The row a sort brings into view: the highlighted current row, the one
    // the user chose; with none highlighted the first, so that the list shows
    // its top rather than a row nobody picked. None for an empty list.
    std::optional<std::size_t> rowToShowAfterSort() const;

    // Current row.
    bool hasCurrentRow() const;
    std::optional<std::size_t> currentPosition() const;
    std::optional<std::uint64_t> currentRowId() const { return hasCurrentRow() ? currentId_ : std::nullopt; }
    const std::string* currentTag() const;
    // Makes the row current; with highlight it becomes the one highlighted
    // row, without it no row stays highlighted.
    void makeCurrent(std::size_t position, bool highlight = true);
    void clearCurrent();
    // Afterwards there is no current row.
    void deleteCurrentRow();

    // Typing in the list: the first row, searching on from `start` and
    // wrapping round, whose number text ("12:") begins with prefix (ASCII
    // case ignored); nullopt when none does.
    std::optional<std::size_t> findByNumberPrefix(std::string_view prefix, std::size_t start) const;

    // The user ticked or cleared a box: rewrites the first character of the
    // row's line. Returns true when the line changed (the caller saves).
    bool changeCheck(std::size_t position, bool checked);

    void setGhosted(std::size_t position, bool ghosted);
    // Highlighting a row makes it current (as in the list view, where the
    // highlighted row is the one the commands act on); at most one row is
    // highlighted. Clearing the highlight leaves the current row as it is.
    void setSelected(std::size_t position, bool selected);

private:
    AlarmRow makeRow(const AlarmRecord& record);
    void sortRows();
    void markSortColumn();

    std::array<AlarmColumn, kColumnCount> columns_;
    std::vector<AlarmRow> rows_;
    std::string tag_;
    Column sortColumn_ = Column::number;
    SortOrder sortOrder_ = SortOrder::ascending;
    bool sorted_ = false;
    std::optional<std::uint64_t> currentId_;
    std::uint64_t nextId_ = 1;
};

}  // namespace kolvi
