#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "tasks/task_table.h"

namespace quorvel {

// Registers the hotkey of every row, enabled or not, from its Hotkey text. A text that
// parses to 0 (empty, or written under another keyboard layout) is skipped; the binding's
// result is not looked at, since a hotkey held already is refused and stays held once.
void RegisterTaskHotKeys(TaskTable& table,
                         const std::function<std::uint32_t(std::u16string_view)>& parseHotKey,
                         const std::function<void(std::uint32_t)>& bindHotKey);

}  // namespace quorvel
