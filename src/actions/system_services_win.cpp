#include "actions/system_services_win.h"

#include <mmsystem.h>
#include <powrprof.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <string>
#include <utility>

#include "common/win/error_box_win.h"
#include "common/win/system_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "tasks/action_catalogue.h"

namespace quorvel {
namespace {

static_assert(kEwxLogOff == EWX_LOGOFF && kEwxReboot == EWX_REBOOT);
static_assert(kEwxForce == EWX_FORCE && kEwxPowerOff == EWX_POWEROFF);
static_assert(kSwHide == SW_HIDE && kSwShowNormal == SW_SHOWNORMAL);
static_assert(kSwShowMaximized == SW_SHOWMAXIMIZED && kSwMinimize == SW_MINIMIZE);
static_assert(kCsidlPersonal == CSIDL_PERSONAL && kCsidlDrives == CSIDL_DRIVES);

struct ItemIdListTraits {
    static PIDLIST_ABSOLUTE Invalid() { return nullptr; }
    static void Close(PIDLIST_ABSOLUTE list) {
        LateBound<decltype(::CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree")(list);
    }
};

const wchar_t* NullIfEmpty(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

// The system folder's program for a command line that names its program without a folder
// ("calc.exe", "cmd.exe /k"); empty for one that gives a folder. Named alone, a program would
// be searched for beside Quorvel.exe and in the working folder first, where anyone who can
// write there could put one of the same name.
std::wstring SystemProgramPath(const std::wstring& commandLine) {
    const std::wstring program = commandLine.substr(0, commandLine.find(L' '));
    if (program.empty() || program.find_first_of(L"\\/:\"") != std::wstring::npos) return {};
    return SystemFolder() + L'\\' + program;
}

}  // namespace

ShutdownPrivilege WindowsPowerControl::EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return ShutdownPrivilege::kNoToken;
    }
    const UniqueKernelHandle ownedToken(token);
    TOKEN_PRIVILEGES requested{};
    requested.PrivilegeCount = 1;
    requested.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &requested.Privileges[0].Luid)) {
        return ShutdownPrivilege::kUnknown;
    }
    TOKEN_PRIVILEGES previous{};
    DWORD returnedLength = 0;
    if (!::AdjustTokenPrivileges(token, /*DisableAllPrivileges=*/FALSE, &requested, sizeof previous,
                                 &previous, &returnedLength)) {
        return ShutdownPrivilege::kNotAdjusted;
    }
    // The call succeeds also for an account without the privilege; only the last error
    // (ERROR_NOT_ALL_ASSIGNED) tells.
    return ::GetLastError() == ERROR_SUCCESS ? ShutdownPrivilege::kEnabled
                                             : ShutdownPrivilege::kNotHeldByAccount;
}

void WindowsPowerControl::EndSession(std::uint32_t flags) { ::ExitWindowsEx(flags, 0); }

void WindowsPowerControl::Suspend(bool hibernate, bool force) {
    static const auto setSuspendState =
        LateBound<decltype(::SetSuspendState)>(L"powrprof.dll", "SetSuspendState");
    setSuspendState(hibernate, force, /*bWakeupEventsDisabled=*/FALSE);
}

std::vector<RunningProcess> WindowsProcessList::Running() {
    std::vector<RunningProcess> running;
    const UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return running;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL found = ::Process32FirstW(snapshot.get(), &entry); found;
         found = ::Process32NextW(snapshot.get(), &entry)) {
        running.push_back({entry.th32ProcessID, FromWide(entry.szExeFile)});
    }
    return running;
}

void WindowsProcessList::End(std::uint32_t processId) {
    const UniqueKernelHandle process(
        ::OpenProcess(PROCESS_TERMINATE, /*bInheritHandle=*/FALSE, processId));
    if (process) ::TerminateProcess(process.get(), 0);
}

void WindowsCdDoors::SetDoor(std::u16string_view element, Door door) {
    static const auto send =
        LateBound<decltype(::mciSendCommandW)>(L"winmm.dll", "mciSendCommandW");
    const std::wstring elementName = ToWide(element);
    MCI_OPEN_PARMSW device{};
    device.lpstrDeviceType = L"CDAudio";
    device.lpstrElementName = elementName.c_str();
    if (send(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&device)) !=
        0) {
        return;
    }
    send(device.wDeviceID, MCI_SET, door == Door::kOpen ? MCI_SET_DOOR_OPEN : MCI_SET_DOOR_CLOSED,
         0);
    send(device.wDeviceID, MCI_CLOSE, 0, 0);
}

WindowsClipboard::WindowsClipboard(std::function<HWND()> owner) : owner_(std::move(owner)) {}

bool WindowsClipboard::Empty() {
    if (!::OpenClipboard(owner_())) return false;
    ::EmptyClipboard();
    ::CloseClipboard();
    return true;
}

WindowsLauncher::WindowsLauncher(std::function<HWND()> owner) : owner_(std::move(owner)) {}

std::uintptr_t WindowsLauncher::Execute(std::u16string_view operation, std::u16string_view file,
                                        std::u16string_view parameters,
                                        std::u16string_view directory, int showCommand) {
    JoinCom();
    const std::wstring verb = ToWide(operation);
    const std::wstring target = ToWide(file);
    const std::wstring arguments = ToWide(parameters);
    const std::wstring folder = ToWide(directory);
    // Not a module handle: a number that only tells success from the kind of failure.
    return reinterpret_cast<std::uintptr_t>(::ShellExecuteW(owner_(), NullIfEmpty(verb),
                                                            target.c_str(), NullIfEmpty(arguments),
                                                            NullIfEmpty(folder), showCommand));
}

std::uint32_t WindowsLauncher::MissingFileError(std::u16string_view path) {
    if (::GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES) return 0;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? error : 0;
}

std::u16string WindowsLauncher::ExpandEnvironmentStringsW(std::u16string_view text) {
    const std::wstring source = ToWide(text);
    std::wstring expanded(source.size() + 1, L'\0');
    // The call gives the length it needs, its terminating zero counted; the value may grow
    // between two calls.
    for (;;) {
        const DWORD needed = ::ExpandEnvironmentStringsW(source.c_str(), expanded.data(),
                                                         static_cast<DWORD>(expanded.size()));
        if (needed == 0) return std::u16string(text);
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);
            return FromWide(expanded);
        }
        expanded.resize(needed);
    }
}

void WindowsLauncher::Start(std::u16string_view commandLine, int showCommand,
                            std::u16string_view directory) {
    std::wstring command = ToWide(commandLine);  // CreateProcessW may write into it
    const std::wstring program = SystemProgramPath(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION started{};
    const std::wstring folder = ToWide(directory);
    if (!::CreateProcessW(NullIfEmpty(program), command.data(), nullptr, nullptr,
                          /*bInheritHandles=*/FALSE, 0, nullptr, NullIfEmpty(folder), &startup,
                          &started)) {
        return;
    }
    // Started and left alone: the handles are only given back.
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
}

std::u16string WindowsLauncher::ErrorText(std::uint32_t errorCode) {
    return SystemErrorText(errorCode);
}

void WindowsDesktop::OpenFolder(int folder, int showCommand) {
    JoinCom();
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, &list))) return;
    const UniqueHandle<ItemIdListTraits> itemIdList(list);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_IDLIST | SEE_MASK_NOCLOSEPROCESS;
    execute.nShow = showCommand;
    execute.lpIDList = itemIdList.get();
    ::ShellExecuteExW(&execute);
    const UniqueKernelHandle process(execute.hProcess);  // asked for by the mask; not needed
}

void WindowsDesktop::MinimizeAll() {
    JoinCom();
    shellObject_.MinimizeAll();
}

void WindowsDesktop::UndoMinimizeAll() {
    JoinCom();
    shellObject_.UndoMinimizeALL();
}

WindowsPressBoxes::WindowsPressBoxes(std::function<HWND()> owner) : owner_(std::move(owner)) {}

void WindowsPressBoxes::ShowErrorBox(std::u16string_view text) {
    // With no window of the program in front the box has no owner, and would open behind the
    // window the user is in: the press gave the program the right to come forward.
    quorvel::ShowErrorBox(owner_(), text, MB_SETFOREGROUND);
}

void WindowsPressBoxes::ShowMessage(std::u16string_view text, std::u16string_view caption) {
    // In front of the window the user is in, as every box of a press.
    ::MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK | MB_SETFOREGROUND);
}

}  // namespace quorvel
