#pragma once

#include <optional>
#include <string>

#include "editor/editor_fields.h"
#include "session/task_session.h"

namespace quorvel {

// What the editor's OK needs of its dialog.
class OkStepEnvironment {
  public:
    virtual ~OkStepEnvironment() = default;
    // The file chooser opened with this file name; the chosen full path, or nothing on cancel.
    virtual std::optional<std::u16string> ChooseProgramFile(const std::u16string& initialName) = 0;
    virtual std::u16string FirstCdRomDrive() = 0;
    virtual void Close() = 0;
};

// The editor's OK: fills in a missing program or CD destination, then adds the task to the
// session or replaces the row the mode names, with the hotkey as a value (an edited row keeps
// its hotkey text while the field holds what Edit put in it), and closes. A change the session
// cannot make (a failing save, a row that is gone) propagates and leaves the list as it was, so the
// dialog stays open and another OK tries again.
void ConfirmTask(EditorFields& fields, EditorMode mode, TaskSession& session,
                 OkStepEnvironment& environment);

}  // namespace quorvel
