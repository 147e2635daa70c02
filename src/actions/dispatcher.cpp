#include "actions/dispatcher.h"

#include <algorithm>
#include <utility>

#include "actions/destination.h"
#include "common/error.h"
#include "common/text.h"
#include "tasks/action_catalogue.h"

namespace quorvel {
namespace {

constexpr std::u16string_view kProfileVariable = u"%USERPROFILE%";
// How many failed launches a press's box lists, and how much of each target: any path whole.
constexpr std::size_t kListedFailures = 5;
constexpr std::size_t kLongestShownTarget = 260;

constexpr std::u16string_view kExitErrorText = u"Exit Error";
// ShellExecute's results up to this one are failures.
constexpr std::uintptr_t kShellExecuteLastFailure = 32;

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// How long a target of the shell may be. Quorvel does not declare itself aware of long paths,
// so Windows opens no path longer than MAX_PATH less its terminating zero. Windows takes
// addresses up to 2,083 characters, but the shell under Wine overruns a buffer of its own from
// 997 characters on and takes the program down with it; no target goes past what both take.
constexpr std::size_t kLongestPath = 259;
constexpr std::size_t kLongestShellTarget = 960;
// ERROR_BUFFER_OVERFLOW, whose text is "The file name is too long.".
constexpr std::uint32_t kErrorTargetTooLong = 111;

bool TooLongForTheShell(std::u16string_view target) {
    return target.size() > (IsFullPath(target) ? kLongestPath : kLongestShellTarget);
}

// ShellExecute's failures as the system's error codes, whose texts the system has. The codes
// up to 11 are the system's own already.
std::uint32_t ShellExecuteErrorCode(std::uintptr_t result) {
    constexpr std::uint32_t kErrorNotEnoughMemory = 8;
    constexpr std::uint32_t kErrorSharingViolation = 32;
    constexpr std::uint32_t kErrorNoAssociation = 1155;
    constexpr std::uint32_t kErrorDdeFail = 1156;
    constexpr std::uint32_t kErrorDllNotFound = 1157;
    switch (result) {
        case 0:  // out of memory or resources
            return kErrorNotEnoughMemory;
        case 26:  // SE_ERR_SHARE
            return kErrorSharingViolation;
        case 27:  // SE_ERR_ASSOCINCOMPLETE
        case 31:  // SE_ERR_NOASSOC
            return kErrorNoAssociation;
        case 28:  // SE_ERR_DDETIMEOUT
        case 29:  // SE_ERR_DDEFAIL
        case 30:  // SE_ERR_DDEBUSY
            return kErrorDdeFail;
        case 32:  // SE_ERR_DLLNOTFOUND
            return kErrorDllNotFound;
        default:
            return static_cast<std::uint32_t>(result);
    }
}

// The caption of the "Exit Error" message for a step that failed; nothing when none did.
std::optional<std::u16string_view> ExitErrorCaption(ShutdownPrivilege privilege) {
    switch (privilege) {
        case ShutdownPrivilege::kEnabled:
            return std::nullopt;
        case ShutdownPrivilege::kNoToken:
            return u"OpenProcessToken() Failed";
        case ShutdownPrivilege::kUnknown:
            return u"LookupPrivilegeValue() Failed";
        case ShutdownPrivilege::kNotAdjusted:
        case ShutdownPrivilege::kNotHeldByAccount:
            return u"AdjustTokenPrivileges() Failed";
    }
    return std::nullopt;
}

// A file name with an extension: one the shell opens only as it is named.
bool HasExtension(std::u16string_view path) {
    return FileNamePart(path).find(u'.') != std::u16string_view::npos;
}

// The system's message for the error, or its number when the system has no text.
LaunchFailure Failure(Launcher& launcher, std::uint32_t errorCode, std::u16string_view file) {
    std::u16string reason = launcher.ErrorText(errorCode);
    if (reason.empty()) reason = u"System error " + ToText(errorCode);
    return {std::move(reason), std::u16string(file)};
}

}  // namespace

std::optional<LaunchFailure> CannotLaunch(Launcher& launcher, std::u16string_view file) {
    if (TooLongForTheShell(file)) return Failure(launcher, kErrorTargetTooLong, file);
    if (IsFullPath(file) && HasExtension(file)) {
        if (const std::uint32_t missing = launcher.MissingFileError(file)) {
            return Failure(launcher, missing, file);
        }
    }
    return std::nullopt;
}

std::optional<LaunchFailure> OpenWithShell(Launcher& launcher, std::u16string_view operation,
                                           std::u16string_view file, std::u16string_view parameters,
                                           std::u16string_view directory, int showCommand) {
    if (TooLongForTheShell(file)) return Failure(launcher, kErrorTargetTooLong, file);
    const std::uintptr_t result =
        launcher.Execute(operation, file, parameters, directory, showCommand);
    if (result > kShellExecuteLastFailure) return std::nullopt;
    return Failure(launcher, ShellExecuteErrorCode(result), file);
}

void EndSessionWithShutdownPrivilege(PowerControl& power, PressBoxes& boxes, std::uint32_t flags) {
    if (const auto caption = ExitErrorCaption(power.EnableShutdownPrivilege())) {
        boxes.ShowMessage(kExitErrorText, *caption);
        return;
    }
    power.EndSession(flags);
}

// Without the privilege the system refuses the suspension itself.
void SuspendWithShutdownPrivilege(PowerControl& power, bool hibernate, bool force) {
    const ShutdownPrivilege privilege = power.EnableShutdownPrivilege();
    if (privilege != ShutdownPrivilege::kEnabled &&
        privilege != ShutdownPrivilege::kNotHeldByAccount) {
        return;
    }
    power.Suspend(hibernate, force);
}

std::optional<std::u16string> CdElementName(std::u16string_view drive) {
    if (drive.empty() || !IsAsciiLetter(drive.front())) return std::nullopt;
    return std::u16string{AsciiUpper(drive.front()), u':'};
}

void SetCdDoor(CdDoors& cdDoors, std::u16string_view drive, Door door) {
    if (const auto element = CdElementName(drive)) cdDoors.SetDoor(*element, door);
}

bool ProcessNameMatches(std::u16string_view exeFile, std::u16string_view fileName) {
    return EqualsIgnoreAsciiCase(FileNamePart(exeFile), fileName) ||
           EqualsIgnoreAsciiCase(exeFile, fileName);
}

void CloseProgramByName(ProcessList& processes, std::u16string_view fileName) {
    for (const RunningProcess& process : processes.Running()) {
        if (ProcessNameMatches(process.exeFile, fileName)) processes.End(process.id);
    }
}

Dispatcher::Dispatcher(const TaskTable& table, const RowsByHotKey& rowsByHotKey,
                       SystemServices system, std::function<void()> reportFailure)
    : table_(table),
      rowsByHotKey_(rowsByHotKey),
      system_(system),
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
            if (!MayRun() || !RunTask(row)) break;
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
        system_.boxes.ShowErrorBox(text);
    }
    return MayRun();
}

bool Dispatcher::Launch(std::u16string_view operation, std::u16string_view file,
                        std::u16string_view parameters, std::u16string_view directory, int show) {
    // A launch that cannot happen does nothing, so the box about it may wait for the next.
    if (auto refused = CannotLaunch(system_.launcher, file)) {
        failures_.push_back(std::move(*refused));
        return true;
    }
    if (!ShowFailures()) return false;
    if (auto failed =
            OpenWithShell(system_.launcher, operation, file, parameters, directory, show)) {
        failures_.push_back(std::move(*failed));
    }
    return true;
}

// The profile folder, where the system's own programs start as from the Run box; none when
// the environment does not name it.
std::u16string Dispatcher::ProfileFolder() {
    std::u16string folder = Expand(kProfileVariable);
    if (folder == kProfileVariable) folder.clear();
    return folder;
}

void Dispatcher::ToggleMinimizeAll() {
    // The flag turns only after a call that went through, so a failed minimise is retried.
    if (windowsMinimized_) {
        system_.desktop.UndoMinimizeAll();
    } else {
        system_.desktop.MinimizeAll();
    }
    windowsMinimized_ = !windowsMinimized_;
}

// The row runs from its resolved action and show command; its destination is read in place,
// and what an action is handed is its own copy, since an action that shows a box lets the
// table change under it. The destination's variables are expanded at the press, after it was
// taken apart, so that their values never move the split.
bool Dispatcher::RunTask(int row) {
    const ResolvedTask resolved = table_.ResolvedAt(row);
    if (!resolved.action) return true;
    const int show = resolved.showCommand;
    const std::u16string_view dest = table_.ViewAt(row).dest;
    // A launch shows the failures before it only once it is sure to do something.
    const Action action = *resolved.action;
    const bool launch = action == Action::RunSelectedProgram || action == Action::OpenWebsite;
    if (!launch && !ShowFailures()) return false;

    switch (action) {
        case Action::RunMyComputer:
            system_.desktop.OpenFolder(kCsidlDrives, show);
            break;
        case Action::RunMyDocuments:
            system_.desktop.OpenFolder(kCsidlPersonal, show);
            break;
        case Action::RunCalc:
            system_.launcher.Start(u"calc.exe", show, ProfileFolder());
            break;
        case Action::RunNotepad:
            system_.launcher.Start(u"notepad.exe", show, ProfileFolder());
            break;
        case Action::RunCommandPromt:
            system_.launcher.Start(u"cmd.exe", show, ProfileFolder());
            break;
        case Action::PowerOffComputer:
            EndSessionWithShutdownPrivilege(system_.power, system_.boxes, kEwxPowerOff | kEwxForce);
            break;
        case Action::RebootComputer:
            EndSessionWithShutdownPrivilege(system_.power, system_.boxes, kEwxReboot | kEwxForce);
            break;
        case Action::HibernateComputer:
            SuspendWithShutdownPrivilege(system_.power, /*hibernate=*/true, /*force=*/true);
            break;
        case Action::StandByComputer:
            SuspendWithShutdownPrivilege(system_.power, /*hibernate=*/false, /*force=*/false);
            break;
        case Action::LogOffComputer:
            system_.power.EndSession(kEwxLogOff);
            break;
        case Action::RunSelectedProgram: {
            const ProgramCommand command = SplitParameters(dest);
            const std::u16string program = Expand(command.program);
            return Launch(u"open", program, Expand(command.parameters), OwnFolder(program), show);
        }
        case Action::OpenWebsite:
            return Launch(u"", Expand(WebAddress(dest)), u"", u"", show);
        case Action::CloseSelectedProgram:
            CloseProgramByName(system_.processes,
                               FileNamePart(Expand(SplitParameters(dest).program)));
            break;
        case Action::OpenCdRom:
            SetCdDoor(system_.cdDoors, dest, Door::kOpen);
            break;
        case Action::CloseCdRom:
            SetCdDoor(system_.cdDoors, dest, Door::kClosed);
            break;
        case Action::MinimizeMaximazeAllWindows:
            ToggleMinimizeAll();
            break;
        case Action::ClearTheWindowsClipboard:
            if (!system_.clipboard.Empty()) throw Error(u"Cannot open clipboard");
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
