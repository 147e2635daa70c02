#include "actions/dispatcher.h"

#include <utility>

#include "actions/action_catalogue.h"
#include "actions/destination.h"

namespace quorvel {

Dispatcher::Dispatcher(TaskTable& table, std::function<std::u16string(HotKeyValue)> formatHotKey,
                       ActionOperations& operations)
    : table_(table), formatHotKey_(std::move(formatHotKey)), operations_(operations) {}

void Dispatcher::Dravlin1HotKeyPressed(HotKeyValue hotKey, std::uint16_t /*index*/) {
    if (table_.RowCount() == 0) return;
    // Rows hold the text the editor wrote for their hotkey, so they are matched by text.
    const std::u16string pressed = formatHotKey_(hotKey);
    // Counted at each step: rows can be deleted while an action's box is open.
    for (int row = 0; row < table_.RowCount(); ++row) {
        const TaskView task = table_.ViewAt(row);
        if (!task.enabled || task.hotkey != pressed) continue;
        // A copy: the table may change while the action runs (a box it shows, say).
        RunTask(table_.TaskAt(row));
    }
}

void Dispatcher::RunTask(const Task& task) {
    const auto action = FindAction(task.desc);
    if (!action) return;
    const std::u16string& destination = task.dest;
    const ProgramCommand command = SplitParameters(destination);
    const int show = ShowCommandOf(task.typeRun);

    switch (*action) {
        case Action::RunMyComputer:
            operations_.OpenSpecialFolder(kCsidlDrives, show);
            break;
        case Action::RunMyDocuments:
            operations_.OpenSpecialFolder(kCsidlPersonal, show);
            break;
        case Action::RunCalc:
            operations_.WinExec(u"calc.exe", show);
            break;
        case Action::RunNotepad:
            operations_.WinExec(u"notepad.exe", show);
            break;
        case Action::RunCommandPromt:
            operations_.WinExec(u"cmd.exe", show);
            break;
        case Action::PowerOffComputer:
            operations_.PowerOffComputer();
            break;
        case Action::RebootComputer:
            operations_.RebootComputer();
            break;
        case Action::HibernateComputer:
            operations_.HibernateComputer();
            break;
        case Action::StandByComputer:
            operations_.StandByComputer();
            break;
        case Action::LogOffComputer:
            operations_.LogOffComputer();
            break;
        case Action::RunSelectedProgram:
            operations_.ShellExecuteW(u"open", command.program, command.parameters, show);
            break;
        case Action::CloseSelectedProgram:
            operations_.CloseProgramByName(FileNamePart(command.program));
            break;
        case Action::OpenWebsite:
            operations_.ShellExecuteW(u"", command.program, u"", show);
            break;
        case Action::OpenCdRom:
            operations_.OpenCdDoor(destination);
            break;
        case Action::CloseCdRom:
            operations_.CloseCdDoor(destination);
            break;
        case Action::MinimizeMaximazeAllWindows:
            operations_.ToggleMinimizeAll();
            break;
        case Action::ClearTheWindowsClipboard:
            operations_.ClearClipboard();
            break;
    }
}

}  // namespace quorvel
