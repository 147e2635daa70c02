#include "editor/ok_step.h"

#include "hotkeys/hotkey.h"
#include "tasks/action_catalogue.h"

namespace quorvel {

namespace {

// The run type list's text: its selected item, or the empty text when nothing is selected.
std::u16string RunTypeText(int index) {
    if (index < 0 || index >= static_cast<int>(kRunTypes.size())) return {};
    return std::u16string(kRunTypes[static_cast<std::size_t>(index)]);
}

void FillMissingDestination(EditorFields& fields, std::optional<Action> action,
                            OkStepEnvironment& environment) {
    if (!fields.destination.empty()) return;
    if (action == Action::RunSelectedProgram) {
        if (auto chosen = environment.ChooseProgramFile(fields.chooserFileName)) {
            fields.chooserFileName = *chosen;
            fields.destination = std::move(*chosen);
        }
    } else if (action == Action::OpenCdRom || action == Action::CloseCdRom) {
        fields.destination = environment.FirstCdRomDrive() + u":";
    }
}

// None while the user left the field and the Win box as they opened on a row: the row keeps
// its text. The Win box alone is no hotkey.
std::optional<HotKeyValue> ChosenHotKey(const EditorFields& fields, EditorMode mode) {
    if (!mode.adding && fields.rowHotKey && fields.rowHotKey->hotKey == fields.hotKey &&
        fields.rowHotKey->win == fields.win) {
        return std::nullopt;
    }
    if (fields.hotKey == 0) return 0;
    return fields.hotKey | (fields.win ? kWinBit : 0);
}

}  // namespace

void ConfirmTask(EditorFields& fields, EditorMode mode, TaskSession& session,
                 OkStepEnvironment& environment) {
    const std::optional<Action> action = ActionAt(fields.actionIndex);
    FillMissingDestination(fields, action, environment);

    // A new row starts with the defaults, an edited one keeps its picture and Enabled state.
    Task task = mode.adding ? Task() : session.Tasks().TaskAt(mode.row);
    task.actionName = action ? std::u16string(ActionName(*action)) : std::u16string();
    task.dest = fields.destination;
    task.runType = RunTypeText(fields.runTypeIndex);
    const std::optional<HotKeyValue> hotKey = ChosenHotKey(fields, mode);
    if (mode.adding) {
        session.AddTask(task, hotKey);
    } else {
        session.ReplaceTask(mode.row, task, hotKey);
    }
    environment.Close();
}

}  // namespace quorvel
