#include "actions/system_operations.h"

#include "actions/destination.h"
#include "common/error.h"
#include "common/text.h"

namespace quorvel {
namespace {

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

}  // namespace

SystemOperations::SystemOperations(SystemServices services) : system_(services) {}

std::optional<LaunchFailure> SystemOperations::CannotLaunch(std::u16string_view file) {
    if (TooLongForTheShell(file)) return Failure(kErrorTargetTooLong, file);
    if (IsFullPath(file) && HasExtension(file)) {
        if (const std::uint32_t missing = system_.shell.MissingFileError(file)) {
            return Failure(missing, file);
        }
    }
    return std::nullopt;
}

std::optional<LaunchFailure> SystemOperations::ShellExecuteW(std::u16string_view operation,
                                                             std::u16string_view file,
                                                             std::u16string_view parameters,
                                                             std::u16string_view directory,
                                                             int showCommand) {
    if (TooLongForTheShell(file)) return Failure(kErrorTargetTooLong, file);
    const std::uintptr_t result =
        system_.shell.Execute(operation, file, parameters, directory, showCommand);
    if (result > kShellExecuteLastFailure) return std::nullopt;
    return Failure(ShellExecuteErrorCode(result), file);
}

// The system's message for the error, or its number when the system has no text.
LaunchFailure SystemOperations::Failure(std::uint32_t errorCode, std::u16string_view file) {
    std::u16string reason = system_.shell.ErrorText(errorCode);
    if (reason.empty()) reason = u"System error " + ToText(errorCode);
    return {std::move(reason), std::u16string(file)};
}

void SystemOperations::WinExec(std::u16string_view commandLine, int showCommand,
                               std::u16string_view directory) {
    system_.shell.Start(commandLine, showCommand, directory);
}

std::u16string SystemOperations::ExpandEnvironmentStringsW(std::u16string_view text) {
    return system_.shell.ExpandEnvironmentStringsW(text);
}

void SystemOperations::ShowErrorBox(std::u16string_view text) { system_.shell.ShowErrorBox(text); }

void SystemOperations::OpenSpecialFolder(int folder, int showCommand) {
    system_.shell.OpenFolder(folder, showCommand);
}

bool SystemOperations::EnableShutdownPrivilege() {
    const auto caption = ExitErrorCaption(system_.power.EnableShutdownPrivilege());
    if (!caption) return true;
    system_.power.ShowMessage(kExitErrorText, *caption);
    return false;
}

void SystemOperations::EndSessionWithShutdownPrivilege(std::uint32_t flags) {
    if (EnableShutdownPrivilege()) system_.power.EndSession(flags);
}

void SystemOperations::PowerOffComputer() {
    EndSessionWithShutdownPrivilege(kEwxPowerOff | kEwxForce);
}

void SystemOperations::RebootComputer() { EndSessionWithShutdownPrivilege(kEwxReboot | kEwxForce); }

void SystemOperations::LogOffComputer() { system_.power.EndSession(kEwxLogOff); }

void SystemOperations::SuspendWithShutdownPrivilege(bool hibernate, bool force) {
    // Silent, and tried whenever the token took the change: without the privilege the system
    // refuses the suspension itself.
    const ShutdownPrivilege privilege = system_.power.EnableShutdownPrivilege();
    if (privilege != ShutdownPrivilege::kEnabled &&
        privilege != ShutdownPrivilege::kNotHeldByAccount) {
        return;
    }
    system_.power.Suspend(hibernate, force);
}

void SystemOperations::HibernateComputer() {
    SuspendWithShutdownPrivilege(/*hibernate=*/true, /*force=*/true);
}

void SystemOperations::StandByComputer() {
    SuspendWithShutdownPrivilege(/*hibernate=*/false, /*force=*/false);
}

std::optional<std::u16string> CdElementName(std::u16string_view drive) {
    if (drive.empty() || !IsAsciiLetter(drive.front())) return std::nullopt;
    return std::u16string{AsciiUpper(drive.front()), u':'};
}

void SystemOperations::SetCdDoor(std::u16string_view drive, Door door) {
    if (const auto element = CdElementName(drive)) system_.cdDoors.SetDoor(*element, door);
}

void SystemOperations::OpenCdDoor(std::u16string_view drive) { SetCdDoor(drive, Door::kOpen); }

void SystemOperations::CloseCdDoor(std::u16string_view drive) { SetCdDoor(drive, Door::kClosed); }

bool ProcessNameMatches(std::u16string_view exeFile, std::u16string_view fileName) {
    return EqualsIgnoreAsciiCase(FileNamePart(exeFile), fileName) ||
           EqualsIgnoreAsciiCase(exeFile, fileName);
}

void SystemOperations::CloseProgramByName(std::u16string_view fileName) {
    for (const RunningProcess& process : system_.processes.Running()) {
        if (ProcessNameMatches(process.exeFile, fileName)) system_.processes.End(process.id);
    }
}

void SystemOperations::ToggleMinimizeAll() {
    // The flag turns only after a call that went through, so a failed minimise is retried.
    if (windowsMinimized_) {
        system_.shell.UndoMinimizeAll();
    } else {
        system_.shell.MinimizeAll();
    }
    windowsMinimized_ = !windowsMinimized_;
}

void SystemOperations::ClearClipboard() {
    if (!system_.clipboard.Empty()) throw Error(u"Cannot open clipboard");
}

}  // namespace quorvel
