#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tasks/task.h"

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

// The task list: the program's one data store (the model behind the grid NextGrid1). Callers
// read and write whole tasks; the cells by column serve the actions file and the grid.
// Also keeps the grid's selection, so that list commands can be run and tested without a window.
class TaskTable {
  public:
    int RowCount() const { return static_cast<int>(rows_.size()); }

    // The task at a row, in place or as a copy. Throws Error with the list's text for a row
    // out of range.
    TaskView ViewAt(int row) const;
    Task TaskAt(int row) const;
    // Appends one row holding the task.
    void AppendTask(const Task& task);
    // Gives a row all of the task's values at once.
    void SetTask(int row, const Task& task);
    void SetImage(int row, std::int32_t image);
    void SetEnabled(int row, bool enabled);

    void AppendRows(int count);
    // Appends one row with the column defaults and assigns the texts to its first cells in
    // column order, as CellAt(column, row).SetAsString would. A text its cell cannot convert
    // stops with that Error; the row keeps the cells assigned before it.
    void AppendRow(std::span<const std::u16string_view> texts);
    // By column name (ASCII case-insensitive), role ("First", "Last", "Selected") or decimal
    // index; throws Error with the grid's texts for an unknown column or a row out of range.
    Cell CellAt(std::u16string_view columnName, int row);
    Cell CellAt(int column, int row);
    void RemoveRow(int row);
    void RelocateRow(int from, int to);
    void ClearRows();

    // The cell's text form, as Cell::AsString gives it; usable on a read-only table.
    std::u16string TextAt(int column, int row) const;
    // A text cell's content without a copy; valid until the table changes.
    std::u16string_view StoredTextAt(int column, int row) const;
    // Room for this many rows and characters of text, so that a large load does not regrow.
    void Reserve(int rows, std::size_t textUnits);

    // The view's repaint: called after every change made outside a batch (TableBatch).
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

  private:
    friend class Cell;
    friend class TableBatch;

    // One cell's value: a text cell's place in the text pool, an integer, or a Boolean as 0
    // or 1. All texts live in one pool, so that loading thousands of rows allocates a few
    // large blocks instead of one per cell.
    struct Slot {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        std::int32_t number = 0;
    };
    struct Row {
        std::array<Slot, kColumnCount> cells;
        bool marked = false;
    };

    static const Row& DefaultRow();
    // While a batch is open the view is not repainted; the EndBatch that closes the last
    // one repaints.
    void BeginBatch() { ++batchDepth_; }
    void EndBatch();
    void StoreTask(Row& row, const Task& task);
    void CheckRow(int row) const;
    void CheckCell(int column, int row) const;
    void Changed() const;
    int ResolveColumn(std::u16string_view name) const;
    const Slot& SlotAt(int column, int row) const;
    void AssignText(int column, int row, std::u16string_view text);
    void ConvertInto(int column, Slot& slot, std::u16string_view text);
    void StoreText(Slot& slot, std::u16string_view text);
    void ForgetTexts(const Row& row);
    void CompactTexts();

    std::vector<Row> rows_;
    std::u16string texts_;
    std::size_t unusedTextUnits_ = 0;  // left in texts_ by cells assigned again or removed
    int batchDepth_ = 0;
    int selectedRow_ = -1;
    int selectedColumn_ = 0;
    std::function<void()> repaint_;
};

// A batch of table changes as one scope: the view is repainted once, when it ends, also when a
// change in it failed.
class TableBatch {
  public:
    explicit TableBatch(TaskTable& table) : table_(table) { table_.BeginBatch(); }
    ~TableBatch() { table_.EndBatch(); }
    TableBatch(const TableBatch&) = delete;
    TableBatch& operator=(const TableBatch&) = delete;

  private:
    TaskTable& table_;
};

}  // namespace quorvel
