#include "actions/dispatcher.h"

#include <algorithm>
#include <utility>

#include "actions/destination.h"
#include "common/text.h"
#include "tasks/action_catalogue.h"

namespace quorvel {

namespace {

constexpr std::u16string_view kProfileVariable = u"%USERPROFILE%";
// How many failed launches a press's box lists, and how much of each target: any path whole.
constexpr std::size_t kListedFailures = 5;
constexpr std::size_t kLongestShownTarget = 260;

}  // namespace

Dispatcher::Dispatcher(const TaskTable& table, const RowsByHotKey& rowsByHotKey,
                       ActionOperations& operations, std::function<void()> reportFailure)
    : table_(table),
      rowsByHotKey_(rowsByHotKey),
      operations_(operations),
      reportFailure_(std::move(reportFailure)) {}

void Dispatcher::OnHotKeyPressed(HotKeyValue hotKey) {
    if (ended_) return;
    if (running_) {
        if (std::find(waiting_.begin(), waiting_.end(), hotKey) == waiting_.end()) {
            waiting_.push_back(hotKey);
        }
        return;
    }
    running_ = true;
    try {
        RunPress(hotKey);
        while (!waiting_.empty() && !ended_) {
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

void Dispatcher::EndPresses() {
    ended_ = true;
    waiting_.clear();
}

void Dispatcher::RunPress(HotKeyValue hotKey) {
    const auto bound = rowsByHotKey_.find(hotKey);
    if (bound == rowsByHotKey_.end()) return;
    // A copy: the rows may change while an action runs (a box it shows, say), and then the
    // walk ends, since the rows it was going to run may be others now. It reuses the last
    // press's room, so that a press allocates nothing.
    pressRows_.assign(bound->second.begin(), bound->second.end());
    pressChangeCount_ = table_.ChangeCount();
    failures_.clear();
    try {
        for (const int row : pressRows_) {
            if (!MayRun() || !RunTask(table_.ViewAt(row))) break;
        }
        // A program on its way out shows nothing more.
        if (!ended_) ShowFailures();
    } catch (...) {
        if (!ended_) ShowFailures();
        reportFailure_();
    }
}

bool Dispatcher::MayRun() const { return !ended_ && table_.ChangeCount() == pressChangeCount_; }

bool Dispatcher::ShowFailures() {
    if (!failures_.empty()) {
        const std::u16string text = LaunchFailuresText(failures_);
        failures_.clear();
        operations_.ShowErrorBox(text);
    }
    return MayRun();
}

bool Dispatcher::Launch(std::u16string_view operation, std::u16string_view file,
                        std::u16string_view parameters, std::u16string_view directory, int show) {
    // A launch that cannot happen does nothing, so the box about it may wait for the next.
    if (auto refused = operations_.CannotLaunch(file)) {
        failures_.push_back(std::move(*refused));
        return true;
    }
    if (!ShowFailures()) return false;
    if (auto failed = operations_.ShellExecuteW(operation, file, parameters, directory, show)) {
        failures_.push_back(std::move(*failed));
    }
    return true;
}

// The profile folder, where the system's own programs start as from the Run box; none when
// the environment does not name it.
std::u16string Dispatcher::ProfileFolder() {
    std::u16string folder = operations_.ExpandEnvironmentStringsW(kProfileVariable);
    if (folder == kProfileVariable) folder.clear();
    return folder;
}

// The task is read in place; what an action is handed is its own copy, since an action that
// shows a box lets the table change under it. The destination's variables are expanded at the
// press, after it was taken apart, so that their values never move the split.
bool Dispatcher::RunTask(const TaskView& task) {
    const auto action = FindAction(task.actionName);
    if (!action) return true;
    const int show = ShowCommandOf(task.runType);
    // A launch shows the failures before it only once it is sure to do something.
    const bool launch = *action == Action::RunSelectedProgram || *action == Action::OpenWebsite;
    if (!launch && !ShowFailures()) return false;

    switch (*action) {
        case Action::RunMyComputer:
            operations_.OpenSpecialFolder(kCsidlDrives, show);
            break;
        case Action::RunMyDocuments:
            operations_.OpenSpecialFolder(kCsidlPersonal, show);
            break;
        case Action::RunCalc:
            operations_.WinExec(u"calc.exe", show, ProfileFolder());
            break;
        case Action::RunNotepad:
            operations_.WinExec(u"notepad.exe", show, ProfileFolder());
            break;
        case Action::RunCommandPromt:
            operations_.WinExec(u"cmd.exe", show, ProfileFolder());
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
            const std::u16string program = operations_.ExpandEnvironmentStringsW(command.program);
            return Launch(u"open", program,
                          operations_.ExpandEnvironmentStringsW(command.parameters),
                          OwnFolder(program), show);
        }
        case Action::OpenWebsite:
            return Launch(u"", operations_.ExpandEnvironmentStringsW(WebAddress(task.dest)), u"",
                          u"", show);
        case Action::CloseSelectedProgram:
            operations_.CloseProgramByName(FileNamePart(
                operations_.ExpandEnvironmentStringsW(SplitParameters(task.dest).program)));
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
    return true;
}

std::u16string LaunchFailuresText(const std::vector<LaunchFailure>& failures) {
    std::u16string text;
    const std::size_t listed = std::min(failures.size(), kListedFailures);
    for (std::size_t i = 0; i < listed; ++i) {
        const LaunchFailure& failure = failures[i];
        if (i == 0 || failure.reason != failures[i - 1].reason) {
            if (i > 0) text += u"\r\n\r\n";
            text += failure.reason;
        }
        // In quotes, which also keep the error box from putting a full stop after the name.
        text += u"\r\n\"" + VisibleText(failure.target, kLongestShownTarget) + u'"';
    }
    if (failures.size() > listed) {
        text += u"\r\n... and " + ToText(static_cast<std::int64_t>(failures.size() - listed)) +
                u" more.";
    }
    return text;
}

}  // namespace quorvel
