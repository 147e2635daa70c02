#include "tasks/task_table.h"

#include <algorithm>

#include "common/error.h"
#include "common/text.h"

namespace quorvel {

namespace {

constexpr std::u16string_view kGridClassName = u"TNextGrid";
constexpr std::u16string_view kGridName = u"NextGrid1";

TaskTable::Value EmptyValue(CellKind kind) {
    switch (kind) {
        case CellKind::Text:
            return std::u16string();
        case CellKind::Integer:
            return std::int32_t{0};
        case CellKind::Boolean:
            return false;
        case CellKind::RowNumber:
            break;
    }
    return std::monostate{};
}

TaskTable::Value ConvertText(CellKind kind, std::u16string_view text) {
    switch (kind) {
        case CellKind::RowNumber:
            return std::monostate{};
        case CellKind::Text:
            return std::u16string(text);
        case CellKind::Integer: {
            if (text.empty()) return std::int32_t{0};
            const auto value = ParseInt32(text);
            if (!value) throw Error(InvalidIntegerText(text));
            return *value;
        }
        case CellKind::Boolean:
            return text == u"1" || EqualsIgnoreAsciiCase(text, u"true");
    }
    return std::monostate{};
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

void Cell::SetAsString(std::u16string_view text) {
    table_.SetValue(column_, row_, ConvertText(TaskColumns()[column_].kind, text));
}

bool Cell::AsBoolean() const {
    const auto& value = table_.ValueAt(column_, row_);
    if (const auto* b = std::get_if<bool>(&value)) return *b;
    const std::u16string text = AsString();
    if (EqualsIgnoreAsciiCase(text, u"true")) return true;
    if (EqualsIgnoreAsciiCase(text, u"false")) return false;
    const auto number = ParseInt32(text);
    if (!number) throw Error(InvalidBooleanText(text));
    return *number != 0;
}

void Cell::SetAsBoolean(bool value) { SetAsString(value ? u"True" : u"False"); }

std::int32_t Cell::AsInteger() const {
    const auto& value = table_.ValueAt(column_, row_);
    if (const auto* i = std::get_if<std::int32_t>(&value)) return *i;
    const std::u16string text = AsString();
    const auto number = ParseInt32(text);
    if (!number) throw Error(InvalidIntegerText(text));
    return *number;
}

void Cell::SetAsInteger(std::int32_t value) { SetAsString(ToText(value)); }

void TaskTable::AppendRows(int count) {
    if (count < 1) return;
    for (int n = 0; n < count; ++n) {
        Row row;
        for (int c = 0; c < kColumnCount; ++c) {
            const ColumnInfo& column = TaskColumns()[c];
            row.cells[c] = column.defaultText.empty()
                               ? EmptyValue(column.kind)
                               : ConvertText(column.kind, column.defaultText);
        }
        rows_.push_back(std::move(row));
    }
    Changed();
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
    Row moving = std::move(rows_[from]);
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, std::move(moving));
    Changed();
}

void TaskTable::ClearRows() {
    rows_.clear();
    selectedRow_ = -1;
    Changed();
}

void TaskTable::EndBatch() {
    if (batchDepth_ > 0) --batchDepth_;
    if (batchDepth_ == 0) Repaint();
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
    const Value& value = ValueAt(column, row);
    switch (TaskColumns()[column].kind) {
        case CellKind::RowNumber:
            return ToText(row + 1);
        case CellKind::Text:
            return std::get<std::u16string>(value);
        case CellKind::Integer:
            return ToText(std::get<std::int32_t>(value));
        case CellKind::Boolean:
            return std::get<bool>(value) ? u"True" : u"False";
    }
    return {};
}

const TaskTable::Value& TaskTable::ValueAt(int column, int row) const {
    CheckCell(column, row);
    return rows_[row].cells[column];
}

void TaskTable::SetValue(int column, int row, Value value) {
    CheckCell(column, row);
    rows_[row].cells[column] = std::move(value);
    Changed();
}

}  // namespace quorvel
