#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorvel {

enum class CellKind { RowNumber, Text, Integer, Boolean };

struct ColumnInfo {
    std::u16string_view name;
    std::u16string_view header;
    CellKind kind;
    std::u16string_view defaultText;  // applied through the cell's conversion on AppendRows
};

// Column indexes in storage (and file) order.
enum Column : int {
    kNumberColumn = 0,  // NxNumberColumn1
    kDescColumn,
    kHotkeyColumn,
    kDestColumn,
    kTypeRunColumn,
    kImageColumn,
    kEnabledColumn,
    kColumnCount
};

const std::array<ColumnInfo, kColumnCount>& TaskColumns();

class TaskTable;

// One cell of a TaskTable, read and assigned through its kind's text conversions.
class Cell {
  public:
    Cell(TaskTable& table, int column, int row) : table_(table), column_(column), row_(row) {}

    std::u16string AsString() const;
    void SetAsString(std::u16string_view text);  // throws Error for a bad integer text
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    std::int32_t AsInteger() const;  // throws Error when the text is no integer
    void SetAsInteger(std::int32_t value);

  private:
    TaskTable& table_;
    int column_;
    int row_;
};

// The task list: the program's one data store (the model behind the grid NextGrid1).
// Also keeps the grid's selection, so that list commands can be run and tested without a window.
class TaskTable {
  public:
    using Value = std::variant<std::monostate, std::u16string, std::int32_t, bool>;

    int RowCount() const { return static_cast<int>(rows_.size()); }
    void AppendRows(int count);
    // By column name (ASCII case-insensitive), role ("First", "Last", "Selected") or decimal
    // index; throws Error with the grid's texts for an unknown column or a row out of range.
    Cell CellAt(std::u16string_view columnName, int row);
    Cell CellAt(int column, int row);
    void RemoveRow(int row);
    void RelocateRow(int from, int to);
    void ClearRows();

    // While a batch is open the view is not repainted; the EndBatch that closes the last
    // one repaints.
    void BeginBatch() { ++batchDepth_; }
    void EndBatch();
    // The view's repaint: called after every change made outside a batch.
    void SetRepaintHandler(std::function<void()> handler) { repaint_ = std::move(handler); }
    void Repaint() const;

    // Selection, as the grid shows it: the current row (-1 for none), per-row marks for the
    // multiple selection, and the current column for the "Selected" role.
    int SelectedRow() const { return selectedRow_; }
    void SetSelectedRow(int row);
    bool IsMarked(int row) const;
    void SetMarked(int row, bool marked);
    void ClearMarks();
    int SelectedColumn() const { return selectedColumn_; }
    void SetSelectedColumn(int column) { selectedColumn_ = column; }

    // The cell's text form, as Cell::AsString gives it; usable on a read-only table.
    std::u16string TextAt(int column, int row) const;
    const Value& ValueAt(int column, int row) const;
    void SetValue(int column, int row, Value value);

  private:
    struct Row {
        std::array<Value, kColumnCount> cells;
        bool marked = false;
    };

    void CheckRow(int row) const;
    void CheckCell(int column, int row) const;
    void Changed() const;
    int ResolveColumn(std::u16string_view name) const;

    std::vector<Row> rows_;
    int batchDepth_ = 0;
    int selectedRow_ = -1;
    int selectedColumn_ = 0;
    std::function<void()> repaint_;
};

}  // namespace quorvel
