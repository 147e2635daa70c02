#include "editor/task_hotkeys.h"

namespace quorvel {

void RegisterTaskHotKeys(TaskTable& table,
                         const std::function<std::uint32_t(std::u16string_view)>& parseHotKey,
                         const std::function<void(std::uint32_t)>& bindHotKey) {
    const int rowCount = table.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        const std::uint32_t hotKey = parseHotKey(table.ViewAt(row).hotkey);
        if (hotKey != 0) bindHotKey(hotKey);
    }
}

}  // namespace quorvel
