#include "editor/editor_fields.h"

#include <utility>

#include "common/text.h"
#include "hotkeys/shortcut_text.h"
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

void EditorFields::PrepareForNewTask() {
    actionIndex = 0;
    runTypeIndex = 0;
    destination.clear();
}

bool EditorFields::PrepareForRow(const TaskTable& tasks, int row, const HotKeyText& hotKeyText,
                                 const KeyNameProvider& keyNames) {
    if (row < 0 || row >= tasks.RowCount()) return false;
    Task task = tasks.TaskAt(row);
    chooserFileName = task.dest;
    actionIndex = ItemIndexOf(kActionNames, task.actionName, -1);
    const HotKeyValue shortCut = ShortCutOfHotKeyText(task.hotKeyText, hotKeyText, keyNames);
    hotKey = static_cast<std::uint16_t>(shortCut & 0xFFFF);
    win = (shortCut & kWinBit) != 0;
    rowHotKey = RowHotKey{std::move(task.hotKeyText), hotKey, win};
    destination = std::move(task.dest);
    // A run type spelt otherwise than in its list is a normal window.
    runTypeIndex = 0;
    for (int i = 0; i < static_cast<int>(kRunTypes.size()); ++i) {
        if (kRunTypes[i] == task.runType) runTypeIndex = i;
    }
    return true;
}

}  // namespace quorvel
