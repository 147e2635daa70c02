#include "editor/ok_step.h"

#include "actions/action_catalogue.h"

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

// A row's hotkey text stays as it was when the user left the field as it opened.
std::u16string HotkeyText(const EditorFields& fields, EditorMode mode,
                          OkStepEnvironment& environment) {
    if (!mode.adding && fields.rowHotkey && fields.rowHotkey->hotKey == fields.hotKey) {
        return fields.rowHotkey->text;
    }
    return fields.hotKey == 0 ? std::u16string() : environment.FormatHotKey(fields.hotKey);
}

}  // namespace

void BitBtn4Click(EditorFields& fields, EditorMode mode, TaskSteps& tasks,
                  OkStepEnvironment& environment) {
    const std::optional<Action> action = ActionAt(fields.actionIndex);
    FillMissingDestination(fields, action, environment);

    // A new row starts with the defaults, an edited one keeps its picture and Enabled state.
    TaskTable& table = tasks.NextGrid1();
    Task task = mode.adding ? Task() : table.TaskAt(mode.row);
    // Every text is made before the table changes, so a failing conversion leaves no half row.
    task.desc = action ? std::u16string(ActionName(*action)) : std::u16string();
    task.hotkey = HotkeyText(fields, mode, environment);
    task.dest = fields.destination;
    task.typeRun = RunTypeText(fields.runTypeIndex);
    if (mode.adding) {
        table.AppendTask(task);
    } else {
        table.SetTask(mode.row, task);
    }

    tasks.SaveTaskFile();
    tasks.RegisterTaskHotKeys();
    tasks.RebuildIcons();
    environment.Close();
}

}  // namespace quorvel
