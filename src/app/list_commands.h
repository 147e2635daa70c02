#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "editor/editor_fields.h"
#include "hotkeys/hotkey.h"
#include "tasks/task_table.h"

namespace quorvel {

// Add and Edit under the task grid (and the grid's double click): the editor's fields prepared
// from nothing or from a row, then the editor shown. Delete, Delete All and the moves are the
// task session's own verbs.
class ListCommands {
  public:
    // A task's hotkey text as the editor shows it: the hotkey field's shortcut word in the low
    // 16 bits, and the Win bit for the editor's Win box.
    using ShortCutParser = std::function<HotKeyValue(std::u16string_view)>;

    ListCommands(const TaskTable& tasks, ShortCutParser textToShortCut);

    // The editor Add and Edit open; without one they do nothing.
    void SetEditor(EditorForm* editor) { editor_ = editor; }

    // The editor appends a row.
    void Add();
    // The editor writes the row; with no row (-1 when none is selected) nothing opens.
    void Edit(int row);

  private:
    void CopyRowToEditor(int row, EditorFields& fields);

    const TaskTable& tasks_;
    ShortCutParser textToShortCut_;
    EditorForm* editor_ = nullptr;
};

}  // namespace quorvel
