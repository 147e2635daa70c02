#include "tasks/task_table.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "common/error.h"
#include "common/text.h"

namespace quorvel {

namespace {

constexpr std::u16string_view kGridClassName = u"TNextGrid";
constexpr std::u16string_view kGridName = u"NextGrid1";

// The text pool is addressed with 32-bit offsets.
constexpr std::size_t kMaxTextUnits = std::numeric_limits<std::uint32_t>::max();
// Unused text is compacted away once it is this large and more than half the pool.
constexpr std::size_t kCompactAtUnits = 1 << 16;

CellKind KindOf(int column) { return TaskColumns()[column].kind; }

// The value an integer or Boolean cell takes from a text.
std::int32_t ConvertNumber(CellKind kind, std::u16string_view text) {
    if (kind == CellKind::Boolean) return text == u"1" || EqualsIgnoreAsciiCase(text, u"true");
    if (kind != CellKind::Integer || text.empty()) return 0;
    const auto value = ParseInt32(text);
    if (!value) throw Error(InvalidIntegerText(text));
    return *value;
}

}  // namespace

const std::array<ColumnInfo, kColumnCount>& TaskColumns() {
    static const std::array<ColumnInfo, kColumnCount> columns{{
        {u"NxNumberColumn1", u"#", CellKind::RowNumber, u"0"},
        {u"Desc", u"Description", CellKind::Text, u""},
        {u"Hotkey", u"Hotkey", CellKind::Text, u""},
        {u"Dest", u"Destination", CellKind::Text, u""},
        {u"Type_run", u"Type of run", CellKind::Text, u""},
        {u"Image", u"", CellKind::Integer, u"0"},
        {u"Enabled", u"Enabled", CellKind::Boolean, u"True"},
    }};
    return columns;
}

std::u16string Cell::AsString() const { return table_.TextAt(column_, row_); }

void Cell::SetAsString(std::u16string_view text) { table_.AssignText(column_, row_, text); }

bool Cell::AsBoolean() const {
    if (KindOf(column_) == CellKind::Boolean) return table_.SlotAt(column_, row_).number != 0;
    const std::u16string text = AsString();
    if (EqualsIgnoreAsciiCase(text, u"true")) return true;
    if (EqualsIgnoreAsciiCase(text, u"false")) return false;
    const auto number = ParseInt32(text);
    if (!number) throw Error(InvalidBooleanText(text));
    return *number != 0;
}

void Cell::SetAsBoolean(bool value) { SetAsString(value ? u"True" : u"False"); }

std::int32_t Cell::AsInteger() const {
    if (KindOf(column_) == CellKind::Integer) return table_.SlotAt(column_, row_).number;
    const std::u16string text = AsString();
    const auto number = ParseInt32(text);
    if (!number) throw Error(InvalidIntegerText(text));
    return *number;
}

void Cell::SetAsInteger(std::int32_t value) { SetAsString(ToText(value)); }

// Text columns start empty, so only the number cells take their default here.
const TaskTable::Row& TaskTable::DefaultRow() {
    static const Row row = [] {
        Row defaults;
        for (int c = 0; c < kColumnCount; ++c) {
            const ColumnInfo& column = TaskColumns()[c];
            defaults.cells[c].number = ConvertNumber(column.kind, column.defaultText);
        }
        return defaults;
    }();
    return row;
}

TaskView TaskTable::ViewAt(int row) const {
    CheckRow(row);
    const auto& cells = rows_[row].cells;
    const auto text = [&](int column) {
        return std::u16string_view(texts_).substr(cells[column].offset, cells[column].length);
    };
    return {text(kDescColumn),    text(kHotkeyColumn),        text(kDestColumn),
            text(kTypeRunColumn), cells[kImageColumn].number, cells[kEnabledColumn].number != 0};
}

Task TaskTable::TaskAt(int row) const {
    const TaskView view = ViewAt(row);
    return {std::u16string(view.desc),
            std::u16string(view.hotkey),
            std::u16string(view.dest),
            std::u16string(view.typeRun),
            view.image,
            view.enabled};
}

void TaskTable::AppendTask(const Task& task) {
    rows_.push_back(DefaultRow());
    StoreTask(rows_.back(), task);
    Changed();
}

void TaskTable::SetTask(int row, const Task& task) {
    CheckRow(row);
    StoreTask(rows_[row], task);
    Changed();
}

void TaskTable::SetImage(int row, std::int32_t image) {
    CheckRow(row);
    rows_[row].cells[kImageColumn].number = image;
    Changed();
}

void TaskTable::SetEnabled(int row, bool enabled) {
    CheckRow(row);
    rows_[row].cells[kEnabledColumn].number = enabled ? 1 : 0;
    Changed();
}

void TaskTable::StoreTask(Row& row, const Task& task) {
    StoreText(row.cells[kDescColumn], task.desc);
    StoreText(row.cells[kHotkeyColumn], task.hotkey);
    StoreText(row.cells[kDestColumn], task.dest);
    StoreText(row.cells[kTypeRunColumn], task.typeRun);
    row.cells[kImageColumn].number = task.image;
    row.cells[kEnabledColumn].number = task.enabled ? 1 : 0;
}

void TaskTable::AppendRows(int count) {
    if (count < 1) return;
    rows_.insert(rows_.end(), static_cast<std::size_t>(count), DefaultRow());
    Changed();
}

void TaskTable::AppendRow(std::span<const std::u16string_view> texts) {
    rows_.push_back(DefaultRow());
    const std::size_t count = std::min(texts.size(), static_cast<std::size_t>(kColumnCount));
    try {
        for (std::size_t c = 0; c < count; ++c) {
            ConvertInto(static_cast<int>(c), rows_.back().cells[c], texts[c]);
        }
    } catch (...) {
        Changed();
        throw;
    }
    Changed();
}

void TaskTable::Reserve(int rows, std::size_t textUnits) {
    rows_.reserve(rows_.size() + static_cast<std::size_t>(std::max(rows, 0)));
    texts_.reserve(std::min(texts_.size() + textUnits, kMaxTextUnits));
}

int TaskTable::ResolveColumn(std::u16string_view name) const {
    const auto& columns = TaskColumns();
    for (int c = 0; c < kColumnCount; ++c) {
        if (EqualsIgnoreAsciiCase(columns[c].name, name)) return c;
    }
    if (EqualsIgnoreAsciiCase(name, u"First")) return 0;
    if (EqualsIgnoreAsciiCase(name, u"Last")) return kColumnCount - 1;
    if (EqualsIgnoreAsciiCase(name, u"Selected")) return selectedColumn_;
    if (const auto index = ParseInt32(name)) return *index;
    throw Error(u"Invalid Columnname '" + std::u16string(name) + u"' for '" +
                std::u16string(kGridClassName) + u":" + std::u16string(kGridName) + u"'.");
}

Cell TaskTable::CellAt(std::u16string_view columnName, int row) {
    return CellAt(ResolveColumn(columnName), row);
}

Cell TaskTable::CellAt(int column, int row) {
    CheckCell(column, row);
    return Cell(*this, column, row);
}

void TaskTable::CheckRow(int row) const {
    if (row < 0 || row >= RowCount()) throw Error(ListIndexErrorText(row));
}

void TaskTable::CheckCell(int column, int row) const {
    if (column < 0 || column >= kColumnCount) throw Error(ListIndexErrorText(column));
    CheckRow(row);
}

void TaskTable::RemoveRow(int row) {
    CheckRow(row);
    ForgetTexts(rows_[row]);
    rows_.erase(rows_.begin() + row);
    if (selectedRow_ == row) {
        selectedRow_ = -1;
    } else if (selectedRow_ > row) {
        --selectedRow_;
    }
    Changed();
}

void TaskTable::RelocateRow(int from, int to) {
    if (from == to) return;
    CheckRow(from);
    CheckRow(to);
    const Row moving = rows_[from];
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, moving);
    Changed();
}

void TaskTable::ClearRows() {
    rows_.clear();
    texts_.clear();
    unusedTextUnits_ = 0;
    selectedRow_ = -1;
    Changed();
}

void TaskTable::EndBatch() {
    if (--batchDepth_ == 0) Repaint();
}

void TaskTable::Repaint() const {
    if (repaint_) repaint_();
}

void TaskTable::Changed() const {
    if (batchDepth_ == 0) Repaint();
}

void TaskTable::SetSelectedRow(int row) {
    selectedRow_ = row >= 0 && row < RowCount() ? row : -1;
    if (selectedRow_ >= 0) rows_[selectedRow_].marked = true;
}

bool TaskTable::IsMarked(int row) const {
    CheckRow(row);
    return rows_[row].marked;
}

void TaskTable::SetMarked(int row, bool marked) {
    CheckRow(row);
    rows_[row].marked = marked;
}

void TaskTable::ClearMarks() {
    for (auto& row : rows_) row.marked = false;
}

std::u16string TaskTable::TextAt(int column, int row) const {
    const Slot& slot = SlotAt(column, row);
    switch (KindOf(column)) {
        case CellKind::RowNumber:
            return ToText(row + 1);
        case CellKind::Text:
            return std::u16string(StoredTextAt(column, row));
        case CellKind::Integer:
            return ToText(slot.number);
        case CellKind::Boolean:
            return slot.number != 0 ? u"True" : u"False";
    }
    return {};
}

std::u16string_view TaskTable::StoredTextAt(int column, int row) const {
    const Slot& slot = SlotAt(column, row);
    return std::u16string_view(texts_).substr(slot.offset, slot.length);
}

const TaskTable::Slot& TaskTable::SlotAt(int column, int row) const {
    CheckCell(column, row);
    return rows_[row].cells[column];
}

void TaskTable::AssignText(int column, int row, std::u16string_view text) {
    CheckCell(column, row);
    ConvertInto(column, rows_[row].cells[column], text);
    Changed();
}

void TaskTable::ConvertInto(int column, Slot& slot, std::u16string_view text) {
    const CellKind kind = KindOf(column);
    if (kind == CellKind::Text) {
        StoreText(slot, text);
    } else if (kind != CellKind::RowNumber) {
        slot.number = ConvertNumber(kind, text);
    }
}

void TaskTable::StoreText(Slot& slot, std::u16string_view text) {
    unusedTextUnits_ += slot.length;
    slot.length = 0;
    if (texts_.size() + text.size() > kMaxTextUnits) {
        CompactTexts();
        if (texts_.size() + text.size() > kMaxTextUnits) throw std::length_error("task texts");
    }
    slot.offset = static_cast<std::uint32_t>(texts_.size());
    slot.length = static_cast<std::uint32_t>(text.size());
    texts_.append(text);
    if (unusedTextUnits_ > kCompactAtUnits && unusedTextUnits_ > texts_.size() / 2) {
        CompactTexts();
    }
}

void TaskTable::ForgetTexts(const Row& row) {
    for (const Slot& slot : row.cells) unusedTextUnits_ += slot.length;
}

void TaskTable::CompactTexts() {
    std::u16string compact;
    compact.reserve(texts_.size() - unusedTextUnits_);
    for (Row& row : rows_) {
        for (Slot& slot : row.cells) {
            if (slot.length == 0) continue;
            const auto offset = static_cast<std::uint32_t>(compact.size());
            compact.append(texts_, slot.offset, slot.length);
            slot.offset = offset;
        }
    }
    texts_.swap(compact);
    unusedTextUnits_ = 0;
}

}  // namespace quorvel
