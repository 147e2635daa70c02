#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// Values of the Windows constants that the system operations pass on.
namespace win {
inline constexpr std::uint32_t kVerPlatformWin32s = 0;
inline constexpr std::uint32_t kVerPlatformWin32Windows = 1;
inline constexpr std::uint32_t kVerPlatformWin32Nt = 2;
inline constexpr std::uint32_t kTokenAdjustPrivileges = 0x20;
inline constexpr std::uint32_t kTokenQuery = 0x08;
inline constexpr std::uint32_t kSePrivilegeEnabled = 2;
inline constexpr std::uint32_t kEwxLogOff = 0;
inline constexpr std::uint32_t kEwxReboot = 2;
inline constexpr std::uint32_t kEwxForce = 4;
inline constexpr std::uint32_t kEwxPowerOff = 8;
inline constexpr std::uint32_t kMciOpen = 0x803;
inline constexpr std::uint32_t kMciClose = 0x804;
inline constexpr std::uint32_t kMciSet = 0x80D;
inline constexpr std::uint32_t kMciOpenElement = 0x200;
inline constexpr std::uint32_t kMciOpenType = 0x2000;
inline constexpr std::uint32_t kMciSetDoorOpen = 0x100;
inline constexpr std::uint32_t kMciSetDoorClosed = 0x200;
inline constexpr std::uint32_t kTh32csSnapProcess = 2;
inline constexpr std::uint32_t kProcessTerminate = 1;
// ShellExecute's results up to this one are failures.
inline constexpr std::uintptr_t kShellExecuteLastFailure = 32;
}  // namespace win

// Something the system handed out (a token, a process, a snapshot, an item-ID list); its
// owner gives it back to the system on destruction.
class SystemHandle {
  public:
    virtual ~SystemHandle() = default;
};
using OwnedHandle = std::unique_ptr<SystemHandle>;

// A locally unique id, as privileges are named to the token calls.
struct Luid {
    std::uint32_t lowPart = 0;
    std::int32_t highPart = 0;
    friend bool operator==(const Luid&, const Luid&) = default;
};

struct ProcessEntry {
    std::uint32_t processId = 0;
    std::u16string exeFile;
};

// The open block of the media control interface; the open fills in deviceId.
struct MciOpenParms {
    std::uint32_t deviceId = 0;
    std::u16string deviceType;
    std::u16string elementName;
};

// The Windows calls behind the launches and the system operations, one method per call.
// Handle-returning calls give null on failure.
class SystemCalls {
  public:
    virtual ~SystemCalls() = default;

    // Launches; empty texts stand for absent arguments (an empty operation is the default verb).
    // The shell's result: above 32 on success, else the failure (0 or one of the SE_ERR_ codes).
    virtual std::uintptr_t ShellExecuteW(std::u16string_view operation, std::u16string_view file,
                                         std::u16string_view parameters, int showCommand) = 0;
    // A program named without a folder is started from the system folder by its full path.
    virtual void WinExec(std::u16string_view commandLine, int showCommand) = 0;

    // The platform id; nothing when the call fails.
    virtual std::optional<std::uint32_t> GetVersionExW() = 0;

    virtual OwnedHandle OpenProcessToken(std::uint32_t desiredAccess) = 0;
    virtual std::optional<Luid> LookupPrivilegeValueW(std::u16string_view name) = 0;
    // Sets one privilege's attributes in the token without touching the others. With
    // `askPreviousState` the former state is requested into a buffer of the record's size.
    virtual bool AdjustTokenPrivileges(SystemHandle& token, Luid privilege,
                                       std::uint32_t attributes, bool askPreviousState) = 0;
    virtual std::uint32_t GetLastError() = 0;
    virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
    virtual bool SetSuspendState(bool hibernate, bool force) = 0;
    // A modal message with no owner window and only an OK button.
    virtual void MessageBoxW(std::u16string_view text, std::u16string_view caption) = 0;
    // The system's description of an error code, without the line break that ends it.
    virtual std::u16string FormatMessageW(std::uint32_t errorCode) = 0;
    // The program's standard error box, owned by the window that owns launches.
    virtual void ShowErrorBox(std::u16string_view text) = 0;

    // 0 on success, else the MCI error code. `parms` may be null.
    virtual std::uint32_t mciSendCommandW(std::uint32_t deviceId, std::uint32_t message,
                                          std::uint32_t flags, MciOpenParms* parms) = 0;

    virtual OwnedHandle CreateToolhelp32Snapshot(std::uint32_t flags) = 0;
    virtual std::optional<ProcessEntry> Process32FirstW(SystemHandle& snapshot) = 0;
    virtual std::optional<ProcessEntry> Process32NextW(SystemHandle& snapshot) = 0;
    virtual OwnedHandle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                                    std::uint32_t processId) = 0;
    virtual bool TerminateProcess(SystemHandle& process, std::uint32_t exitCode) = 0;

    virtual OwnedHandle SHGetSpecialFolderLocation(int folder) = 0;
    // Opens the folder of an item-ID list in a shell window.
    virtual bool ShellExecuteExW(SystemHandle& itemIdList, int showCommand) = 0;

    // The shell automation object's calls; both throw Error when the object cannot be
    // reached or the call fails.
    virtual void MinimizeAll() = 0;
    virtual void UndoMinimizeALL() = 0;

    // The clipboard, owned by the application's window while it is open.
    virtual bool OpenClipboard() = 0;
    virtual bool EmptyClipboard() = 0;
    virtual bool CloseClipboard() = 0;
};

}  // namespace quorvel
