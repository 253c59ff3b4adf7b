#include "store/alarm_list.h"

#include <algorithm>
#include <utility>

#include "text/ascii.h"

namespace kolvi {
namespace {

std::size_t toIndex(int column) { return static_cast<std::size_t>(column); }
std::size_t toIndex(Column column) { return static_cast<std::size_t>(column); }
bool isColumn(int column) { return column >= 0 && column < kColumnCount; }

void eraseAll(std::string& text, std::string_view what) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
        text.erase(at, what.size());
    }
}

std::size_t decimalDigits(std::size_t value) {
    std::size_t digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

// Orders rows by one column's text. std::string compares bytes as unsigned
// char, and UTF-8 byte order is code point order.
class ColumnOrder {
public:
    ColumnOrder(Column column, SortOrder order)
        : column_(toIndex(column)), descending_(order == SortOrder::descending) {}
    bool operator()(const AlarmRow& a, const AlarmRow& b) const {
        return descending_ ? b.texts[column_] < a.texts[column_] : a.texts[column_] < b.texts[column_];
    }

private:
    std::size_t column_;
    bool descending_;
};

}  // namespace

std::string dayText(const AlarmRecord& record) {
    std::string text;
    for (std::size_t day = 0; day < record.days.size(); ++day) {
        if (record.days[day]) text += kDayNames[day];
    }
    return text;
}

std::string timeColumnText(const AlarmRecord& record) {
    return timeOfDayText(record.hour, record.minute, record.second);
}

AlarmList::AlarmList() { setUpAlarmColumns(); }

void AlarmList::setUpAlarmColumns() {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        columns_[i] = AlarmColumn{std::string(kColumnHeaders[i]), kDefaultColumnWidths[i]};
    }
    clearRows();
}

void AlarmList::setColumnWidths(const std::array<int, kColumnCount>& widths) {
    for (std::size_t i = 0; i < columns_.size(); ++i) columns_[i].width = widths[i];
}

void AlarmList::setColumnWidth(int column, int width) {
    if (isColumn(column)) columns_[toIndex(column)].width = width;
}

const AlarmColumn& AlarmList::column(int column) const { return columns_.at(toIndex(column)); }

std::optional<std::size_t> AlarmList::findRow(std::uint64_t id) const {
    const auto it = std::find_if(rows_.begin(), rows_.end(), [id](const AlarmRow& row) { return row.id == id; });
    if (it == rows_.end()) return std::nullopt;
    return static_cast<std::size_t>(it - rows_.begin());
}

void AlarmList::clearRows() {
    rows_.clear();
    currentId_.reset();
}

AlarmRow AlarmList::makeRow(const AlarmRecord& record) {
    AlarmRow row;
    row.id = nextId_++;
    row.tag = formatAlarmLine(record);
    row.checked = record.enabled;
    const auto text = [&row](Column column) -> std::string& { return row.texts[static_cast<std::size_t>(column)]; };
    text(Column::name) = toTrimmedText(record.name);
    text(Column::days) = dayText(record);
    text(Column::time) = timeColumnText(record);
    text(Column::file) = toTrimmedText(record.file);
    text(Column::deleteAfterRun) = record.deleteAfterRun ? kDeleteYes : kDeleteNo;
    return row;
}

void AlarmList::addAlarmRow(const AlarmRecord& record) {
    AlarmRow row = makeRow(record);
    auto place = rows_.end();
    // The number column's texts are rewritten by every renumbering, so the
    // rows are not kept in its order; a new row simply goes last there.
    if (sorted_ && sortColumn_ != Column::number) {
        // After every row with an equal text, as a stable sort would put it.
        place = std::upper_bound(rows_.begin(), rows_.end(), row, ColumnOrder(sortColumn_, sortOrder_));
    }
    const std::size_t position = static_cast<std::size_t>(place - rows_.begin());
    rows_.insert(place, std::move(row));
    makeCurrent(position, true);
}

void AlarmList::replaceRow(std::uint64_t id, const AlarmRecord& record) {
    if (const std::optional<std::size_t> position = findRow(id)) {
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*position));
    }
    addAlarmRow(record);
}

bool AlarmList::addAlarmLine(std::string_view line) {
    const std::optional<AlarmRecord> record = parseAlarmLine(line);
    if (!record) return false;
    addAlarmRow(*record);
    renumberRows();
    return true;
}

void AlarmList::loadRows(const std::vector<AlarmRecord>& records) {
    clearRows();
    rows_.reserve(records.size());
    for (const AlarmRecord& record : records) rows_.push_back(makeRow(record));
    // One sort of the whole file rather than a sorted insertion per row. By
    // the number column the rows are numbered in file order first, so that
    // a descending order reverses the file here as it does at start.
    if (sorted_) {
        if (sortColumn_ == Column::number) renumberRows();
        sortRows();
    }
    renumberRows();
    if (!rows_.empty()) makeCurrent(0, false);
}

void AlarmList::renumberRows() {
    const std::size_t width = decimalDigits(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        rows_[i].texts[toIndex(Column::number)] =
            zeroPad(static_cast<long long>(i + 1), static_cast<int>(width)) + ":";
    }
}

void AlarmList::sortRows() {
    // Sorts small (text, position) pairs and moves each row once, instead of
    // moving whole rows of seven strings around during the sort.
    struct SortEntry {
        std::string_view text;
        std::size_t position;
    };
    const std::size_t column = toIndex(sortColumn_);
    std::vector<SortEntry> entries;
    entries.reserve(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) entries.push_back({rows_[i].texts[column], i});
    if (sortOrder_ == SortOrder::descending) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const SortEntry& a, const SortEntry& b) { return b.text < a.text; });
    } else {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const SortEntry& a, const SortEntry& b) { return a.text < b.text; });
    }
    std::vector<AlarmRow> sorted;
    sorted.reserve(rows_.size());
    for (const SortEntry& entry : entries) sorted.push_back(std::move(rows_[entry.position]));
    rows_ = std::move(sorted);
}

void AlarmList::applySort(Column column, SortOrder order) {
    if (order == SortOrder::toggle) {
        const bool descending = column == sortColumn_ && sortOrder_ == SortOrder::ascending;
        order = descending ? SortOrder::descending : SortOrder::ascending;
    }
    sortColumn_ = column;
    sortOrder_ = order;
    markSortColumn();
    sorted_ = true;
    sortRows();
    renumberRows();
}

std::optional<std::size_t> AlarmList::rowToShowAfterSort() const {
    if (rows_.empty()) return std::nullopt;
    const std::optional<std::size_t> current = currentPosition();
    return current && rows_[*current].selected ? *current : 0;
}

void AlarmList::markSortColumn() {
    for (AlarmColumn& each : columns_) {
        eraseAll(each.header, kAscendingMark);
        eraseAll(each.header, kDescendingMark);
    }
    columns_[toIndex(sortColumn_)].header += sortOrder_ == SortOrder::descending ? kDescendingMark : kAscendingMark;
}

bool AlarmList::hasCurrentRow() const { return isFileOpen() && currentPosition().has_value(); }

std::optional<std::size_t> AlarmList::currentPosition() const {
    if (!currentId_) return std::nullopt;
    return findRow(*currentId_);
}

const std::string* AlarmList::currentTag() const {
    const std::optional<std::size_t> position = currentPosition();
    return position ? &rows_[*position].tag : nullptr;
}

void AlarmList::makeCurrent(std::size_t position, bool highlight) {
    if (position >= rows_.size()) return;
    for (AlarmRow& row : rows_) row.selected = false;
    rows_[position].selected = highlight;
    currentId_ = rows_[position].id;
}

void AlarmList::clearCurrent() {
    if (const std::optional<std::size_t> position = currentPosition()) rows_[*position].selected = false;
    currentId_.reset();
}

void AlarmList::deleteCurrentRow() {
    if (!hasCurrentRow()) return;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*currentPosition()));
    currentId_.reset();
    renumberRows();
}

std::optional<std::size_t> AlarmList::findByNumberPrefix(std::string_view prefix, std::size_t start) const {
    if (rows_.empty()) return std::nullopt;
    for (std::size_t step = 0; step < rows_.size(); ++step) {
        const std::size_t position = (start + step) % rows_.size();
        const std::string& number = rows_[position].text(Column::number);
        if (number.size() >= prefix.size() && equalsIgnoringAsciiCase(number.substr(0, prefix.size()), prefix)) {
            return position;
        }
    }
    return std::nullopt;
}

bool AlarmList::changeCheck(std::size_t position, bool checked) {
    if (position >= rows_.size()) return false;
    AlarmRow& row = rows_[position];
    row.checked = checked;
    const char flag = checked ? '1' : '0';
    if (row.tag.empty() || row.tag.front() == flag) return false;
    row.tag.front() = flag;
    return true;
}

void AlarmList::setGhosted(std::size_t position, bool ghosted) {
    if (position < rows_.size()) rows_[position].ghosted = ghosted;
}

void AlarmList::setSelected(std::size_t position, bool selected) {
    if (position >= rows_.size()) return;
    if (selected) {
        makeCurrent(position, true);
    } else {
        rows_[position].selected = false;
    }
}

}  // namespace kolvi
