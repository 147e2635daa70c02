#include "actions/system_calls_win.h"

#include <mmsystem.h>
#include <powrprof.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <string>
#include <utility>

#include "actions/action_catalogue.h"
#include "common/win/error_box_win.h"
#include "common/win/system_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"

namespace quorvel {
namespace {

static_assert(win::kTokenAdjustPrivileges == TOKEN_ADJUST_PRIVILEGES);
static_assert(win::kTokenQuery == TOKEN_QUERY);
static_assert(win::kSePrivilegeEnabled == SE_PRIVILEGE_ENABLED);
static_assert(win::kVerPlatformWin32s == VER_PLATFORM_WIN32s);
static_assert(win::kVerPlatformWin32Windows == VER_PLATFORM_WIN32_WINDOWS);
static_assert(win::kVerPlatformWin32Nt == VER_PLATFORM_WIN32_NT);
static_assert(win::kEwxLogOff == EWX_LOGOFF && win::kEwxReboot == EWX_REBOOT);
static_assert(win::kEwxForce == EWX_FORCE && win::kEwxPowerOff == EWX_POWEROFF);
static_assert(win::kMciOpen == MCI_OPEN && win::kMciClose == MCI_CLOSE && win::kMciSet == MCI_SET);
static_assert(win::kMciOpenElement == MCI_OPEN_ELEMENT && win::kMciOpenType == MCI_OPEN_TYPE);
static_assert(win::kMciSetDoorOpen == MCI_SET_DOOR_OPEN);
static_assert(win::kMciSetDoorClosed == MCI_SET_DOOR_CLOSED);
static_assert(win::kTh32csSnapProcess == TH32CS_SNAPPROCESS);
static_assert(win::kProcessTerminate == PROCESS_TERMINATE);
static_assert(win::kShellExecuteLastFailure == SE_ERR_DLLNOTFOUND);
static_assert(kSwHide == SW_HIDE && kSwShowNormal == SW_SHOWNORMAL);
static_assert(kSwShowMaximized == SW_SHOWMAXIMIZED && kSwMinimize == SW_MINIMIZE);
static_assert(kCsidlPersonal == CSIDL_PERSONAL && kCsidlDrives == CSIDL_DRIVES);

struct ItemIdListTraits {
    static PIDLIST_ABSOLUTE Invalid() { return nullptr; }
    static void Close(PIDLIST_ABSOLUTE list) {
        LateBound<decltype(::CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree")(list);
    }
};

// A handle handed to the portable operations, closed with its traits' call.
template <typename Traits>
class OwnedWinHandle final : public SystemHandle {
  public:
    using Handle = typename UniqueHandle<Traits>::Handle;
    explicit OwnedWinHandle(Handle handle) : handle_(handle) {}
    Handle get() const { return handle_.get(); }

  private:
    UniqueHandle<Traits> handle_;
};

// Null when the system gave no handle.
template <typename Traits>
OwnedHandle Own(typename UniqueHandle<Traits>::Handle handle) {
    if (handle == Traits::Invalid()) return nullptr;
    return std::make_unique<OwnedWinHandle<Traits>>(handle);
}

// Every handle passed back in came from Own with the same traits.
template <typename Traits>
auto Raw(SystemHandle& handle) {
    return static_cast<OwnedWinHandle<Traits>&>(handle).get();
}

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

std::optional<ProcessEntry> EntryIf(BOOL found, const PROCESSENTRY32W& entry) {
    if (!found) return std::nullopt;
    return ProcessEntry{entry.th32ProcessID, FromWide(entry.szExeFile)};
}

}  // namespace

WindowsSystemCalls::WindowsSystemCalls(std::function<HWND()> shellOwner,
                                       std::function<HWND()> clipboardOwner)
    : shellOwner_(std::move(shellOwner)), clipboardOwner_(std::move(clipboardOwner)) {}

std::uintptr_t WindowsSystemCalls::ShellExecuteW(std::u16string_view operation,
                                                 std::u16string_view file,
                                                 std::u16string_view parameters, int showCommand) {
    JoinCom();
    const std::wstring verb = ToWide(operation);
    const std::wstring target = ToWide(file);
    const std::wstring arguments = ToWide(parameters);
    // Not a module handle: a number that only tells success from the kind of failure.
    return reinterpret_cast<std::uintptr_t>(::ShellExecuteW(shellOwner_(), NullIfEmpty(verb),
                                                            target.c_str(), NullIfEmpty(arguments),
                                                            /*lpDirectory=*/nullptr, showCommand));
}

void WindowsSystemCalls::WinExec(std::u16string_view commandLine, int showCommand) {
    const std::wstring program = SystemProgramPath(ToWide(commandLine));
    std::wstring command = ToWide(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(NullIfEmpty(program), command.data(), nullptr, nullptr,
                          /*bInheritHandles=*/FALSE, 0, nullptr, nullptr, &startup, &started)) {
        return;
    }
    // Started and left alone: the handles are only given back.
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
}

std::optional<std::uint32_t> WindowsSystemCalls::GetVersionExW() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExW(&version)) return std::nullopt;
    return version.dwPlatformId;
}

OwnedHandle WindowsSystemCalls::OpenProcessToken(std::uint32_t desiredAccess) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), desiredAccess, &token)) return nullptr;
    return Own<KernelHandleTraits>(token);
}

std::optional<Luid> WindowsSystemCalls::LookupPrivilegeValueW(std::u16string_view name) {
    LUID id{};
    if (!::LookupPrivilegeValueW(nullptr, ToWide(name).c_str(), &id)) return std::nullopt;
    return Luid{id.LowPart, id.HighPart};
}

bool WindowsSystemCalls::AdjustTokenPrivileges(SystemHandle& token, Luid privilege,
                                               std::uint32_t attributes, bool askPreviousState) {
    TOKEN_PRIVILEGES requested{};
    requested.PrivilegeCount = 1;
    requested.Privileges[0].Luid = LUID{privilege.lowPart, privilege.highPart};
    requested.Privileges[0].Attributes = attributes;
    TOKEN_PRIVILEGES previous{};
    DWORD returnedLength = 0;
    return ::AdjustTokenPrivileges(Raw<KernelHandleTraits>(token), /*DisableAllPrivileges=*/FALSE,
                                   &requested, askPreviousState ? sizeof previous : 0,
                                   askPreviousState ? &previous : nullptr, &returnedLength) != 0;
}

std::uint32_t WindowsSystemCalls::GetLastError() { return ::GetLastError(); }

bool WindowsSystemCalls::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    return ::ExitWindowsEx(flags, reason) != 0;
}

bool WindowsSystemCalls::SetSuspendState(bool hibernate, bool force) {
    static const auto setSuspendState =
        LateBound<decltype(::SetSuspendState)>(L"powrprof.dll", "SetSuspendState");
    return setSuspendState(hibernate, force, /*bWakeupEventsDisabled=*/FALSE) != 0;
}

void WindowsSystemCalls::MessageBoxW(std::u16string_view text, std::u16string_view caption) {
    ::MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK);
}

std::u16string WindowsSystemCalls::FormatMessageW(std::uint32_t errorCode) {
    return SystemErrorText(errorCode);
}

void WindowsSystemCalls::ShowErrorBox(std::u16string_view text) {
    quorvel::ShowErrorBox(shellOwner_(), text);
}

std::uint32_t WindowsSystemCalls::mciSendCommandW(std::uint32_t deviceId, std::uint32_t message,
                                                  std::uint32_t flags, MciOpenParms* parms) {
    static const auto send =
        LateBound<decltype(::mciSendCommandW)>(L"winmm.dll", "mciSendCommandW");
    if (!parms) return send(deviceId, message, flags, 0);
    const std::wstring deviceType = ToWide(parms->deviceType);
    const std::wstring elementName = ToWide(parms->elementName);
    MCI_OPEN_PARMSW block{};
    block.wDeviceID = parms->deviceId;
    block.lpstrDeviceType = deviceType.c_str();
    block.lpstrElementName = elementName.c_str();
    const MCIERROR result = send(deviceId, message, flags, reinterpret_cast<DWORD_PTR>(&block));
    parms->deviceId = block.wDeviceID;
    return result;
}

OwnedHandle WindowsSystemCalls::CreateToolhelp32Snapshot(std::uint32_t flags) {
    return Own<FileHandleTraits>(::CreateToolhelp32Snapshot(flags, 0));
}

std::optional<ProcessEntry> WindowsSystemCalls::Process32FirstW(SystemHandle& snapshot) {
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    return EntryIf(::Process32FirstW(Raw<FileHandleTraits>(snapshot), &entry), entry);
}

std::optional<ProcessEntry> WindowsSystemCalls::Process32NextW(SystemHandle& snapshot) {
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    return EntryIf(::Process32NextW(Raw<FileHandleTraits>(snapshot), &entry), entry);
}

OwnedHandle WindowsSystemCalls::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                                            std::uint32_t processId) {
    return Own<KernelHandleTraits>(::OpenProcess(desiredAccess, inheritHandle, processId));
}

bool WindowsSystemCalls::TerminateProcess(SystemHandle& process, std::uint32_t exitCode) {
    return ::TerminateProcess(Raw<KernelHandleTraits>(process), exitCode) != 0;
}

OwnedHandle WindowsSystemCalls::SHGetSpecialFolderLocation(int folder) {
    JoinCom();
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, &list))) return nullptr;
    return Own<ItemIdListTraits>(list);
}

bool WindowsSystemCalls::ShellExecuteExW(SystemHandle& itemIdList, int showCommand) {
    JoinCom();
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_IDLIST | SEE_MASK_NOCLOSEPROCESS;
    execute.nShow = showCommand;
    execute.lpIDList = Raw<ItemIdListTraits>(itemIdList);
    const bool opened = ::ShellExecuteExW(&execute) != 0;
    UniqueKernelHandle process(execute.hProcess);  // asked for by the mask; not needed
    return opened;
}

void WindowsSystemCalls::MinimizeAll() {
    JoinCom();
    shell1_.MinimizeAll();
}

void WindowsSystemCalls::UndoMinimizeALL() {
    JoinCom();
    shell1_.UndoMinimizeALL();
}

void WindowsSystemCalls::JoinCom() {
    if (!com_) com_.emplace();
}

bool WindowsSystemCalls::OpenClipboard() { return ::OpenClipboard(clipboardOwner_()) != 0; }

bool WindowsSystemCalls::EmptyClipboard() { return ::EmptyClipboard() != 0; }

bool WindowsSystemCalls::CloseClipboard() { return ::CloseClipboard() != 0; }

}  // namespace quorvel
