#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/editor_fields.h"
#include "tasks/task_table.h"

namespace quorvel {

// What the editor's OK needs from the program around it.
class OkStepEnvironment {
  public:
    virtual ~OkStepEnvironment() = default;
    // The file chooser opened with this file name; the chosen full path, or nothing on cancel.
    virtual std::optional<std::u16string> ChooseProgramFile(const std::u16string& initialName) = 0;
    virtual std::u16string FirstCdRomDrive() = 0;
    virtual std::u16string FormatHotKey(std::uint32_t hotKey) = 0;
    virtual void SaveTaskFile() = 0;
    virtual void RegisterTaskHotKeys() = 0;
    virtual void RebuildIcons() = 0;
    virtual void Close() = 0;
};

// The editor's OK (BitBtn4Click): fills in a missing program or CD destination, writes the task
// into the table (appended when addingTask, else over the selected row, whose hotkey text stays
// while the field holds what Edit put in it), saves, registers every
// row's hotkey again, rebuilds the icons and closes. Any failure propagates and skips the later
// steps, so the dialog stays open.
void BitBtn4Click(EditorFields& fields, bool addingTask, TaskTable& table,
                  OkStepEnvironment& environment);

}  // namespace quorvel
