#include "actions/dispatcher.h"

#include <algorithm>
#include <utility>

#include "actions/action_catalogue.h"
#include "actions/destination.h"

namespace quorvel {

Dispatcher::Dispatcher(const TaskTable& table, const RowsByHotKey& rowsByHotKey,
                       ActionOperations& operations, std::function<void()> reportFailure)
    : table_(table),
      rowsByHotKey_(rowsByHotKey),
      operations_(operations),
      reportFailure_(std::move(reportFailure)) {}

void Dispatcher::OnHotKeyPressed(HotKeyValue hotKey) {
    if (running_) {
        if (std::find(waiting_.begin(), waiting_.end(), hotKey) == waiting_.end()) {
            waiting_.push_back(hotKey);
        }
        return;
    }
    running_ = true;
    try {
        RunPress(hotKey);
        while (!waiting_.empty()) {
            const HotKeyValue next = waiting_.front();
            waiting_.pop_front();
            RunPress(next);
        }
    } catch (...) {
        // Only a report that failed itself gets here; the presses start afresh.
        waiting_.clear();
        running_ = false;
        throw;
    }
    running_ = false;
}

void Dispatcher::RunPress(HotKeyValue hotKey) {
    const auto bound = rowsByHotKey_.find(hotKey);
    if (bound == rowsByHotKey_.end()) return;
    // A copy: the rows may change while an action runs (a box it shows, say), and then the
    // walk ends, since the rows it was going to run may be others now. It reuses the last
    // press's room, so that a press allocates nothing.
    pressRows_.assign(bound->second.begin(), bound->second.end());
    const std::uint64_t changeCount = table_.ChangeCount();
    try {
        for (const int row : pressRows_) {
            if (table_.ChangeCount() != changeCount) break;
            RunTask(table_.ViewAt(row));
        }
    } catch (...) {
        reportFailure_();
    }
}

// The task is read in place; what an action is handed is its own copy, since an action that
// shows a box lets the table change under it.
void Dispatcher::RunTask(const TaskView& task) {
    const auto action = FindAction(task.desc);
    if (!action) return;
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
        case Action::RunSelectedProgram: {
            const ProgramCommand command = SplitParameters(task.dest);
            operations_.ShellExecuteW(u"open", command.program, command.parameters, show);
            break;
        }
        case Action::CloseSelectedProgram:
            operations_.CloseProgramByName(FileNamePart(SplitParameters(task.dest).program));
            break;
        case Action::OpenWebsite:
            operations_.ShellExecuteW(u"", SplitParameters(task.dest).program, u"", show);
            break;
        case Action::OpenCdRom:
            operations_.OpenCdDoor(std::u16string(task.dest));
            break;
        case Action::CloseCdRom:
            operations_.CloseCdDoor(std::u16string(task.dest));
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
