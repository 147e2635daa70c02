#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tasks/task.h"

namespace quorvel {

enum class CellKind { RowNumber, Text, Integer, Boolean };

// What a column of the actions file holds.
struct ColumnInfo {
    CellKind kind;
    std::u16string_view defaultText;  // a new row's, through the cell's conversion
};

// Column indexes in storage (and file) order.
enum Column : int {
    kNumberColumn = 0,  // NxNumberColumn1
    kDescColumn,
    kHotKeyColumn,
    kDestColumn,
    kTypeRunColumn,
    kImageColumn,
    kEnabledColumn,
    kColumnCount
};

const std::array<ColumnInfo, kColumnCount>& TaskColumns();

// The task list: the program's one data store, the tasks in their order. Callers read and write
// whole tasks; the texts by column serve the actions file and the grid. A plain value: the task
// session keeps a copy to go back to when a change cannot be saved.
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
    // What a row's texts stand for, as the session last resolved them: a row whose texts were
    // stored since stands for nothing until it is resolved again. Resolving is no change.
    const ResolvedTask& ResolvedAt(int row) const;
    void SetResolved(int row, const ResolvedTask& resolved);

    void RemoveRow(int row);
    void RelocateRow(int from, int to);
    void ClearRows();

    // A column's text form: the row number, a stored text, the picture's number, "True" or
    // "False". Throws Error with the list's text for a column or row out of range.
    std::u16string TextAt(int column, int row) const;
    // A text cell's content without a copy; valid until the table changes.
    std::u16string_view StoredTextAt(int column, int row) const;
    // Room for this many rows, so that a large load does not regrow.
    void Reserve(int rows);

    // Counts every change, so that a walk over the rows can tell that they moved under it.
    std::uint64_t ChangeCount() const { return changeCount_; }

  private:
    // The actions file's reader, which fills the table straight from the file's text.
    friend class TaskTableLoad;

    // Where a text lies in the table's text pool.
    struct TextPiece {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    // An allocator whose new elements are left uninitialised, for buffers that are written
    // whole right after they grow: zeroing them first would only cost time.
    template <typename T>
    struct UninitialisedAllocator : std::allocator<T> {
        template <typename U>
        struct rebind {
            using other = UninitialisedAllocator<U>;
        };
        UninitialisedAllocator() = default;
        template <typename U>
        UninitialisedAllocator(const UninitialisedAllocator<U>& /*other*/) noexcept {}

        template <typename U, typename... Args>
        void construct(U* place, Args&&... args) {
            if constexpr (sizeof...(Args) == 0) {
                ::new (static_cast<void*>(place)) U;
            } else {
                ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
            }
        }
    };
    // The characters the table's texts are pieces of.
    using TextBuffer = std::vector<char16_t, UninitialisedAllocator<char16_t>>;

    // A row's values: its texts as pieces of one text pool, so that loading thousands of rows
    // allocates a few large blocks instead of one per cell, its picture and whether it runs.
    static constexpr int kTextColumnCount = kTypeRunColumn - kDescColumn + 1;
    struct Row {
        std::array<TextPiece, kTextColumnCount> texts{};  // Desc, Hotkey, Dest, Type_run
        std::int32_t image = 0;
        bool enabled = false;
        ResolvedTask resolved;

        TextPiece& Text(int column) { return texts[column - kDescColumn]; }
        const TextPiece& Text(int column) const { return texts[column - kDescColumn]; }
    };

    static const Row& DefaultRow();
    void StoreTask(Row& row, const Task& task);
    void CheckRow(int row) const;
    void CheckCell(int column, int row) const;
    void Changed() { ++changeCount_; }
    const Row& RowAt(int column, int row) const;
    void StoreText(TextPiece& piece, std::u16string_view text);
    void ForgetTexts(const Row& row);
    void CompactTexts();

    std::vector<Row> rows_;
    std::u16string_view TextPool() const { return {texts_.data(), texts_.size()}; }
    std::u16string_view Text(const TextPiece& piece) const {
        return TextPool().substr(piece.offset, piece.length);
    }
    void AppendToPool(std::u16string_view text);

    TextBuffer texts_;
    std::size_t unusedTextUnits_ = 0;  // in texts_ but held by no cell
    std::uint64_t changeCount_ = 0;
};

}  // namespace quorvel
