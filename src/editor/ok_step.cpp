#include "editor/ok_step.h"

#include <array>

#include "actions/action_catalogue.h"

namespace quorvel {

namespace {

constexpr std::u16string_view kRunSelectedProgram = kActionNames[10];
constexpr std::u16string_view kOpenCdRom = kActionNames[13];
constexpr std::u16string_view kCloseCdRom = kActionNames[14];

// A drop-down list's text: its selected item, or the empty text when nothing is selected.
template <std::size_t N>
std::u16string SelectedText(const std::array<std::u16string_view, N>& items, int index) {
    if (index < 0 || index >= static_cast<int>(N)) return {};
    return std::u16string(items[static_cast<std::size_t>(index)]);
}

void FillMissingDestination(EditorFields& fields, std::u16string_view action,
                            OkStepEnvironment& environment) {
    if (!fields.destination.empty()) return;
    if (action == kRunSelectedProgram) {
        if (auto chosen = environment.ChooseProgramFile(fields.chooserFileName)) {
            fields.chooserFileName = *chosen;
            fields.destination = std::move(*chosen);
        }
    } else if (action == kOpenCdRom || action == kCloseCdRom) {
        fields.destination = environment.FirstCdRomDrive() + u":";
    }
}

// A row's hotkey text stays as it was when the user left the field as it opened.
std::u16string HotkeyText(const EditorFields& fields, bool addingTask,
                          OkStepEnvironment& environment) {
    if (!addingTask && fields.rowHotkey && fields.rowHotkey->hotKey == fields.hotKey) {
        return fields.rowHotkey->text;
    }
    return fields.hotKey == 0 ? std::u16string() : environment.FormatHotKey(fields.hotKey);
}

struct TaskTexts {
    std::u16string desc, hotkey, dest, typeRun;
};

void WriteTaskCells(TaskTable& table, int row, const TaskTexts& texts) {
    table.CellAt(u"Desc", row).SetAsString(texts.desc);
    table.CellAt(u"Hotkey", row).SetAsString(texts.hotkey);
    table.CellAt(u"Dest", row).SetAsString(texts.dest);
    table.CellAt(u"Type_run", row).SetAsString(texts.typeRun);
}

}  // namespace

void BitBtn4Click(EditorFields& fields, bool addingTask, TaskTable& table,
                  OkStepEnvironment& environment) {
    const std::u16string action = SelectedText(kActionNames, fields.actionIndex);
    FillMissingDestination(fields, action, environment);

    // Every text is made before the table changes, so a failing conversion leaves no half row.
    const TaskTexts texts{
        action,
        HotkeyText(fields, addingTask, environment),
        fields.destination,
        SelectedText(kRunTypes, fields.runTypeIndex),
    };
    if (addingTask) {
        const int row = table.RowCount();
        table.AppendRows(1);
        const TableBatch batch(table);
        WriteTaskCells(table, row, texts);
    } else {
        WriteTaskCells(table, table.SelectedRow(), texts);
    }

    environment.SaveTaskFile();
    environment.RegisterTaskHotKeys();
    environment.RebuildIcons();
    environment.Close();
}

}  // namespace quorvel
