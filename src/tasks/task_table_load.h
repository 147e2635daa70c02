#pragma once

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
    // The pool's characters, for the file's text to be copied in and for fields to be
    // rewritten where they lie, over pieces that no cell holds.
    char16_t* Units() { return table_.texts_.data(); }
    // For a field that does not read as it stands: its text put over the piece `room`, which
    // no cell holds, when it fits there, else added at the pool's end.
    TextPiece Store(std::u16string_view text, TextPiece room);
    // Appends one row with the column defaults and assigns the fields' texts, pieces of the
    // pool that no other cell holds, to its first cells in column order: the texts as they
    // are, a picture's number from its text (empty: 0), Enabled from "1" or "true" in any
    // case. A text its cell cannot convert stops with that Error; the row keeps the cells
    // assigned before it.
    void AppendRow(std::span<const TextPiece> fields);
    // The end of the load: the pool and the rows give back the room the rows do not need,
    // when that is much.
    void Finish();
    TaskTable& Table() { return table_; }

  private:
    TaskTable& table_;
};

}  // namespace quorvel
