#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "tasks/task_table.h"

namespace quorvel {

inline void PrintTo(const Task& task, std::ostream* out) {
    *out << "{" << ToUtf8(task.actionName) << " | " << ToUtf8(task.hotKeyText) << " | "
         << ToUtf8(task.dest) << " | " << ToUtf8(task.runType) << " | " << task.image << " | "
         << task.enabled << "}";
}

inline std::vector<Task> TasksOf(const TaskTable& table) {
    std::vector<Task> tasks;
    for (int row = 0; row < table.RowCount(); ++row) tasks.push_back(table.TaskAt(row));
    return tasks;
}

inline TaskTable TableOf(const std::vector<Task>& tasks) {
    TaskTable table;
    for (const Task& task : tasks) table.AppendTask(task);
    return table;
}

// The bytes of a text in UTF-16, little-endian behind the mark FF FE.
inline std::vector<std::uint8_t> Utf16LittleEndian(std::u16string_view text) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

}  // namespace quorvel
