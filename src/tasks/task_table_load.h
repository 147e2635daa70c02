#pragma once

#include <algorithm>
#include <span>
#include <string_view>

#include "tasks/task_table.h"

namespace quorvel {

// How the actions file's reader fills a table without copying its texts: the table takes the
// buffer the file is read into as its text pool, and the rows' texts are pieces of it. Only
// the reader and the table use it.
class TaskTableLoad {
  public:
    using TextBuffer = TaskTable::TextBuffer;
    using TextPiece = TaskTable::TextPiece;

    explicit TaskTableLoad(TaskTable& table) : table_(table) {}

    // Empties the table, which takes the buffer as its text pool. Throws std::length_error for
    // a buffer beyond the pool's 32-bit offsets.
    void Start(TextBuffer pool);
    // The pool as it stands; adding to it may move it.
    std::u16string_view Text() const { return table_.TextPool(); }
    // For a field rewritten where it lies, over a piece that no cell holds: moves `count`
    // characters from `from` to `to`, which comes before it, and puts one character at `at`.
    void MoveText(std::size_t from, std::size_t count, std::size_t to) {
        std::copy_n(table_.texts_.begin() + from, count, table_.texts_.begin() + to);
    }
    void PutText(std::size_t at, char16_t ch) { table_.texts_[at] = ch; }
    // For a field that does not read as it stands: its text put over the piece `room`, which
    // no cell holds, when it fits there, else added at the pool's end.
    TextPiece Store(std::u16string_view text, TextPiece room);
    // Appends one row with the column defaults and assigns the fields' texts, pieces of the
    // pool that no other cell holds, to its first cells in column order, as
    // CellAt(column, row).SetAsString would. A text its cell cannot convert stops with that
    // Error; the row keeps the cells assigned before it.
    void AppendRow(std::span<const TextPiece> fields);
    TaskTable& Table() { return table_; }

  private:
    TaskTable& table_;
};

}  // namespace quorvel
