#include "actions/system_operations.h"

#include <utility>

#include "actions/destination.h"
#include "common/error.h"
#include "common/text.h"

namespace quorvel {
namespace {

constexpr std::u16string_view kShutdownPrivilege = u"SeShutdownPrivilege";
constexpr std::uint32_t kTokenAccess = win::kTokenAdjustPrivileges | win::kTokenQuery;
constexpr std::u16string_view kExitErrorText = u"Exit Error";

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// How long a target of the shell may be. Quorvel does not declare itself aware of long paths,
// so Windows opens no path longer than MAX_PATH less its terminating zero. Windows takes
// addresses up to 2,083 characters, but the shell under Wine overruns a buffer of its own from
// 997 characters on and takes the program down with it; no target goes past what both take.
constexpr std::size_t kLongestPath = 259;
constexpr std::size_t kLongestShellTarget = 960;
// ERROR_BUFFER_OVERFLOW, whose text is "The file name is too long.".
constexpr std::uint32_t kErrorTargetTooLong = 111;
// How much of a target a launch's error box shows: any path whole.
constexpr std::size_t kLongestShownTarget = 260;

// A path from a drive's or a server's root: "C:\...", "C:/...", "\\server\...".
bool IsFullPath(std::u16string_view target) {
    if (target.starts_with(u"\\\\")) return true;
    return target.size() >= 3 && IsAsciiLetter(target[0]) && target[1] == u':' &&
           (target[2] == u'\\' || target[2] == u'/');
}

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

}  // namespace

SystemOperations::SystemOperations(std::unique_ptr<SystemCalls> calls) : calls_(std::move(calls)) {}

std::u16string SystemOperations::GetOsFamilyName() {
    const auto platform = calls_->GetVersionExW();
    if (!platform) return {};
    switch (*platform) {
        case win::kVerPlatformWin32s:
            return u"Win32s";
        case win::kVerPlatformWin32Windows:
            return u"Windows 95";
        case win::kVerPlatformWin32Nt:
            return u"Windows NT";
        default:
            return {};
    }
}

bool SystemOperations::EnableShutdownPrivilege() {
    const OwnedHandle token = calls_->OpenProcessToken(kTokenAccess);
    if (!token) {
        calls_->MessageBoxW(kExitErrorText, u"OpenProcessToken() Failed");
        return false;
    }
    const auto privilege = calls_->LookupPrivilegeValueW(kShutdownPrivilege);
    if (!privilege) {
        calls_->MessageBoxW(kExitErrorText, u"LookupPrivilegeValue() Failed");
        return false;
    }
    // The call succeeds even when the account lacks the privilege; only the last error
    // (ERROR_NOT_ALL_ASSIGNED) tells.
    calls_->AdjustTokenPrivileges(*token, *privilege, win::kSePrivilegeEnabled,
                                  /*askPreviousState=*/true);
    if (calls_->GetLastError() != 0) {
        calls_->MessageBoxW(kExitErrorText, u"AdjustTokenPrivileges() Failed");
        return false;
    }
    return true;
}

void SystemOperations::ShellExecuteW(std::u16string_view operation, std::u16string_view file,
                                     std::u16string_view parameters, int showCommand) {
    if (TooLongForTheShell(file)) {
        ShowLaunchFailure(kErrorTargetTooLong, file);
        return;
    }
    const std::uintptr_t result = calls_->ShellExecuteW(operation, file, parameters, showCommand);
    if (result > win::kShellExecuteLastFailure) return;
    ShowLaunchFailure(ShellExecuteErrorCode(result), file);
}

void SystemOperations::ShowLaunchFailure(std::uint32_t errorCode, std::u16string_view file) {
    calls_->ShowErrorBox(LaunchFailureText(calls_->FormatMessageW(errorCode), errorCode, file));
}

std::u16string LaunchFailureText(std::u16string_view systemMessage, std::uint32_t errorCode,
                                 std::u16string_view file) {
    std::u16string text = systemMessage.empty() ? u"System error " + ToText(errorCode)
                                                : std::u16string(systemMessage);
    // In quotes, which also keep the error box from putting a full stop after the name.
    return text + u"\r\n\"" + VisibleText(file, kLongestShownTarget) + u"\"";
}

void SystemOperations::WinExec(std::u16string_view commandLine, int showCommand) {
    calls_->WinExec(commandLine, showCommand);
}

void SystemOperations::OpenSpecialFolder(int folder, int showCommand) {
    const OwnedHandle itemIdList = calls_->SHGetSpecialFolderLocation(folder);
    if (!itemIdList) return;
    calls_->ShellExecuteExW(*itemIdList, showCommand);
}

void SystemOperations::ExitWindowsWithShutdownPrivilege(std::uint32_t flags) {
    // Only the NT family keeps the shutdown behind a privilege.
    if (GetOsFamilyName() == u"Windows NT" && !EnableShutdownPrivilege()) return;
    calls_->ExitWindowsEx(flags, 0);
}

void SystemOperations::PowerOffComputer() {
    ExitWindowsWithShutdownPrivilege(win::kEwxPowerOff | win::kEwxForce);
}

void SystemOperations::RebootComputer() {
    ExitWindowsWithShutdownPrivilege(win::kEwxReboot | win::kEwxForce);
}

void SystemOperations::LogOffComputer() { calls_->ExitWindowsEx(win::kEwxLogOff, 0); }

void SystemOperations::SuspendWithShutdownPrivilege(bool hibernate, bool force) {
    const OwnedHandle token = calls_->OpenProcessToken(kTokenAccess);
    if (!token) return;
    const auto privilege = calls_->LookupPrivilegeValueW(kShutdownPrivilege);
    if (!privilege) return;
    if (!calls_->AdjustTokenPrivileges(*token, *privilege, win::kSePrivilegeEnabled,
                                       /*askPreviousState=*/false)) {
        return;
    }
    calls_->SetSuspendState(hibernate, force);
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

void SystemOperations::SetCdDoor(std::u16string_view drive, std::uint32_t doorFlag) {
    const auto element = CdElementName(drive);
    if (!element) return;
    MciOpenParms device{0, u"CDAudio", *element};
    if (calls_->mciSendCommandW(0, win::kMciOpen, win::kMciOpenType | win::kMciOpenElement,
                                &device) != 0) {
        return;
    }
    calls_->mciSendCommandW(device.deviceId, win::kMciSet, doorFlag, nullptr);
    calls_->mciSendCommandW(device.deviceId, win::kMciClose, 0, nullptr);
}

void SystemOperations::OpenCdDoor(std::u16string_view drive) {
    SetCdDoor(drive, win::kMciSetDoorOpen);
}

void SystemOperations::CloseCdDoor(std::u16string_view drive) {
    SetCdDoor(drive, win::kMciSetDoorClosed);
}

bool ProcessNameMatches(std::u16string_view exeFile, std::u16string_view fileName) {
    return EqualsIgnoreAsciiCase(FileNamePart(exeFile), fileName) ||
           EqualsIgnoreAsciiCase(exeFile, fileName);
}

void SystemOperations::CloseProgramByName(std::u16string_view fileName) {
    const OwnedHandle snapshot = calls_->CreateToolhelp32Snapshot(win::kTh32csSnapProcess);
    if (!snapshot) return;
    for (auto entry = calls_->Process32FirstW(*snapshot); entry;
         entry = calls_->Process32NextW(*snapshot)) {
        if (!ProcessNameMatches(entry->exeFile, fileName)) continue;
        const OwnedHandle process =
            calls_->OpenProcess(win::kProcessTerminate, /*inheritHandle=*/false, entry->processId);
        if (process) calls_->TerminateProcess(*process, 0);
    }
}

void SystemOperations::ToggleMinimizeAll() {
    // The flag turns only after a call that went through, so a failed minimise is retried.
    if (windowsMinimized_) {
        calls_->UndoMinimizeALL();
    } else {
        calls_->MinimizeAll();
    }
    windowsMinimized_ = !windowsMinimized_;
}

void SystemOperations::ClearClipboard() {
    if (!calls_->OpenClipboard()) throw Error(u"Cannot open clipboard");
    calls_->EmptyClipboard();
    calls_->CloseClipboard();
}

}  // namespace quorvel
