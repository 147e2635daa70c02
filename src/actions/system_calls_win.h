#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "actions/com_ptr_win.h"
#include "actions/shell_dispatch_win.h"
#include "actions/system_calls.h"

namespace quorvel {

// The real Windows calls. Owner windows are asked for at each use, since the windows that
// own launches and the clipboard may be created after this object.
class WindowsSystemCalls final : public SystemCalls {
  public:
    WindowsSystemCalls(std::function<HWND()> shellOwner, std::function<HWND()> clipboardOwner);

    std::uintptr_t ShellExecuteW(std::u16string_view operation, std::u16string_view file,
                                 std::u16string_view parameters, int showCommand) override;
    void WinExec(std::u16string_view commandLine, int showCommand) override;
    std::optional<std::uint32_t> GetVersionExW() override;
    OwnedHandle OpenProcessToken(std::uint32_t desiredAccess) override;
    std::optional<Luid> LookupPrivilegeValueW(std::u16string_view name) override;
    bool AdjustTokenPrivileges(SystemHandle& token, Luid privilege, std::uint32_t attributes,
                               bool askPreviousState) override;
    std::uint32_t GetLastError() override;
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
    bool SetSuspendState(bool hibernate, bool force) override;
    void MessageBoxW(std::u16string_view text, std::u16string_view caption) override;
    std::u16string FormatMessageW(std::uint32_t errorCode) override;
    void ShowErrorBox(std::u16string_view text) override;
    std::uint32_t mciSendCommandW(std::uint32_t deviceId, std::uint32_t message,
                                  std::uint32_t flags, MciOpenParms* parms) override;
    OwnedHandle CreateToolhelp32Snapshot(std::uint32_t flags) override;
    std::optional<ProcessEntry> Process32FirstW(SystemHandle& snapshot) override;
    std::optional<ProcessEntry> Process32NextW(SystemHandle& snapshot) override;
    OwnedHandle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                            std::uint32_t processId) override;
    bool TerminateProcess(SystemHandle& process, std::uint32_t exitCode) override;
    OwnedHandle SHGetSpecialFolderLocation(int folder) override;
    bool ShellExecuteExW(SystemHandle& itemIdList, int showCommand) override;
    void MinimizeAll() override;
    void UndoMinimizeALL() override;
    bool OpenClipboard() override;
    bool EmptyClipboard() override;
    bool CloseClipboard() override;

  private:
    std::function<HWND()> shellOwner_;
    std::function<HWND()> clipboardOwner_;
    // COM on this (the GUI) thread from the first call that wants it, which few starts make.
    void JoinCom();

    std::optional<ScopedCoInitialize> com_;
    // Released before COM ends.
    ShellDispatch shell1_;
};

}  // namespace quorvel
