#include "app/list_commands.h"

#include <utility>

#include "common/text.h"
#include "tasks/action_catalogue.h"

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

ListCommands::ListCommands(const TaskTable& tasks, ShortCutParser textToShortCut)
    : tasks_(tasks), textToShortCut_(std::move(textToShortCut)) {}

void ListCommands::Add() {
    if (editor_ == nullptr) return;
    EditorFields& fields = editor_->Fields();
    fields.actionIndex = 0;
    fields.runTypeIndex = 0;
    fields.destination.clear();
    editor_->ShowModal(EditorMode::Add());
}

void ListCommands::Edit(int row) {
    // Without a row there is nothing to edit: the editor would only show the last task's values.
    if (editor_ == nullptr || row < 0 || row >= tasks_.RowCount()) return;
    CopyRowToEditor(row, editor_->Fields());
    editor_->ShowModal(EditorMode::Edit(row));
}

void ListCommands::CopyRowToEditor(int row, EditorFields& fields) {
    Task task = tasks_.TaskAt(row);
    fields.chooserFileName = task.dest;
    fields.actionIndex = ItemIndexOf(kActionNames, task.actionName, -1);
    const HotKeyValue hotKey = textToShortCut_(task.hotKeyText);
    fields.hotKey = static_cast<std::uint16_t>(hotKey & 0xFFFF);
    fields.win = (hotKey & kWinBit) != 0;
    fields.rowHotKey =
        EditorFields::RowHotKey{std::move(task.hotKeyText), fields.hotKey, fields.win};
    fields.destination = std::move(task.dest);
    fields.runTypeIndex = 0;
    for (int i = 0; i < static_cast<int>(kRunTypes.size()); ++i) {
        if (kRunTypes[i] == task.runType) fields.runTypeIndex = i;
    }
}

}  // namespace quorvel
