#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/editor_fields.h"
#include "editor/task_steps.h"

namespace quorvel {

// What the editor's OK needs of its dialog.
class OkStepEnvironment {
  public:
    virtual ~OkStepEnvironment() = default;
    // The file chooser opened with this file name; the chosen full path, or nothing on cancel.
    virtual std::optional<std::u16string> ChooseProgramFile(const std::u16string& initialName) = 0;
    virtual std::u16string FirstCdRomDrive() = 0;
    virtual std::u16string FormatHotKey(std::uint32_t hotKey) = 0;
    virtual void Close() = 0;
};

// The editor's OK (BitBtn4Click): fills in a missing program or CD destination, writes the task
// into the table as the mode says (an edited row keeps its hotkey text while the field holds
// what Edit put in it), takes the task steps (save, registration, pictures) and closes. Any
// failure propagates and skips the later steps, so the dialog stays open.
void BitBtn4Click(EditorFields& fields, EditorMode mode, TaskSteps& tasks,
                  OkStepEnvironment& environment);

}  // namespace quorvel
