#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "tasks/task_table.h"

namespace quorvel {

// One row of the task table as plain values, for building tables and comparing them.
struct Task {
    std::u16string desc;
    std::u16string hotkey;
    std::u16string dest;
    std::u16string typeRun;
    std::int32_t image = 0;
    bool enabled = true;

    bool operator==(const Task&) const = default;
};

inline void PrintTo(const Task& task, std::ostream* out) {
    *out << "{" << ToUtf8(task.desc) << " | " << ToUtf8(task.hotkey) << " | " << ToUtf8(task.dest)
         << " | " << ToUtf8(task.typeRun) << " | " << task.image << " | " << task.enabled << "}";
}

inline std::vector<Task> TasksOf(TaskTable& table) {
    std::vector<Task> tasks;
    for (int row = 0; row < table.RowCount(); ++row) {
        tasks.push_back(
            {table.CellAt(u"Desc", row).AsString(), table.CellAt(u"Hotkey", row).AsString(),
             table.CellAt(u"Dest", row).AsString(), table.CellAt(u"Type_run", row).AsString(),
             table.CellAt(u"Image", row).AsInteger(), table.CellAt(u"Enabled", row).AsBoolean()});
    }
    return tasks;
}

inline void AppendTasks(TaskTable& table, const std::vector<Task>& tasks) {
    for (const Task& task : tasks) {
        table.AppendRows(1);
        const int row = table.RowCount() - 1;
        table.CellAt(u"Desc", row).SetAsString(task.desc);
        table.CellAt(u"Hotkey", row).SetAsString(task.hotkey);
        table.CellAt(u"Dest", row).SetAsString(task.dest);
        table.CellAt(u"Type_run", row).SetAsString(task.typeRun);
        table.CellAt(u"Image", row).SetAsInteger(task.image);
        table.CellAt(u"Enabled", row).SetAsBoolean(task.enabled);
    }
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
