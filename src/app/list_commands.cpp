#include "app/list_commands.h"

#include <utility>

#include "actions/action_catalogue.h"
#include "common/error.h"
#include "common/text.h"

namespace quorvel {

namespace {

// Setting a drop-down list's text selects the first item equal to it ignoring letter case;
// the exact comparison afterwards then picks the item whose letters match exactly.
template <typename Items>
int ItemIndexOf(const Items& items, std::u16string_view text, int fallback) {
    int index = fallback;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (EqualsIgnoreAsciiCase(items[i], text)) {
            index = i;
            break;
        }
    }
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (items[i] == text) index = i;
    }
    return index;
}

}  // namespace

ListCommands::ListCommands(TaskTable& grid, std::function<void()> saveTaskFile,
                           std::function<void()> repaintGrid, ShortCutParser textToShortCut)
    : grid_(grid),
      saveTaskFile_(std::move(saveTaskFile)),
      repaintGrid_(std::move(repaintGrid)),
      textToShortCut_(std::move(textToShortCut)) {}

void ListCommands::BitBtn1Click() {
    if (editor_ == nullptr) return;
    EditorFields& fields = editor_->Fields();
    fields.actionIndex = 0;
    fields.runTypeIndex = 0;
    fields.destination.clear();
    editor_->ShowModal(EditorMode::Add());
}

void ListCommands::BitBtn2Click() {
    if (editor_ == nullptr) return;
    const int row = grid_.SelectedRow();
    editor_->Fields().rowHotkey.reset();
    try {
        CopyRowToEditor(row, editor_->Fields());
    } catch (const Error&) {
        // Without a readable row the editor opens with the values it holds.
    }
    editor_->ShowModal(EditorMode::Edit(row));
}

void ListCommands::CopyRowToEditor(int row, EditorFields& fields) {
    Task task = grid_.TaskAt(row);
    fields.chooserFileName = task.dest;
    fields.actionIndex = ItemIndexOf(kActionNames, task.desc, -1);
    fields.hotKey = textToShortCut_(task.hotkey);
    fields.rowHotkey = EditorFields::RowHotkey{std::move(task.hotkey), fields.hotKey};
    fields.destination = std::move(task.dest);
    fields.runTypeIndex = 0;
    for (int i = 0; i < static_cast<int>(kRunTypes.size()); ++i) {
        if (kRunTypes[i] == task.typeRun) fields.runTypeIndex = i;
    }
}

void ListCommands::BitBtn3Click() {
    {
        // A repaint lets the view copy its selection into the marks; not before the last row.
        const TableBatch batch(grid_);
        for (int row = 0; row < grid_.RowCount();) {
            if (grid_.IsMarked(row)) {
                grid_.RemoveRow(row);
            } else {
                ++row;
            }
        }
    }
    saveTaskFile_();
}

void ListCommands::BitBtn5Click() {
    grid_.ClearRows();
    saveTaskFile_();
}

void ListCommands::BitBtn7Click() { MoveSelectedRow(+1); }

void ListCommands::BitBtn8Click() { MoveSelectedRow(-1); }

void ListCommands::MoveSelectedRow(int step) {
    try {
        const int row = grid_.SelectedRow();
        grid_.RelocateRow(row, row + step);
        grid_.SetSelectedRow(row + step);
        saveTaskFile_();
    } catch (const Error&) {
        // A move past either end, or without a selected row, changes nothing.
    }
    repaintGrid_();
}

}  // namespace quorvel
