#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "editor/editor_fields.h"
#include "tasks/task_table.h"

namespace quorvel {

// The six buttons under the task grid and the grid's double click.
class ListCommands {
  public:
    using ShortCutParser = std::function<std::uint16_t(std::u16string_view)>;

    ListCommands(TaskTable& grid, std::function<void()> saveTaskFile,
                 std::function<void()> repaintGrid, ShortCutParser textToShortCut);

    // The editor Add and Edit open; without one they do nothing.
    void SetEditor(EditorForm* editor) { editor_ = editor; }

    void BitBtn1Click();  // Add: the editor appends a row
    void BitBtn2Click();  // Edit: the editor writes the selected row
    void BitBtn3Click();  // Delete: every marked row
    void BitBtn5Click();  // Delete All
    void BitBtn7Click();  // Move down
    void BitBtn8Click();  // Move up
    void NextGrid1CellDblClick() { BitBtn2Click(); }

  private:
    void CopyRowToEditor(int row, EditorFields& fields);
    void MoveSelectedRow(int step);

    TaskTable& grid_;
    std::function<void()> saveTaskFile_;
    std::function<void()> repaintGrid_;
    ShortCutParser textToShortCut_;
    EditorForm* editor_ = nullptr;
};

}  // namespace quorvel
