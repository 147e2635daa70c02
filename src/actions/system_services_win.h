#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "actions/shell_dispatch_win.h"
#include "actions/system_services.h"
#include "common/win/com_ptr_win.h"

namespace quorvel {

// The system's services on Windows. Owner windows are asked for at each use, since the window
// that owns launches and the clipboard may be made after these objects.

class WindowsPowerControl final : public PowerControl {
  public:
    ShutdownPrivilege EnableShutdownPrivilege() override;
    void EndSession(std::uint32_t flags) override;
    void Suspend(bool hibernate, bool force) override;
    void ShowMessage(std::u16string_view text, std::u16string_view caption) override;
};

class WindowsProcessList final : public ProcessList {
  public:
    std::vector<RunningProcess> Running() override;
    void End(std::uint32_t processId) override;
};

class WindowsCdDoors final : public CdDoors {
  public:
    void SetDoor(std::u16string_view element, Door door) override;
};

class WindowsClipboard final : public Clipboard {
  public:
    explicit WindowsClipboard(std::function<HWND()> owner);
    bool Empty() override;

  private:
    std::function<HWND()> owner_;
};

// Joins the GUI thread to COM at the first call that wants it, which few starts make; so it
// is made and used on that thread.
class WindowsShell final : public Shell {
  public:
    explicit WindowsShell(std::function<HWND()> owner);
    std::uintptr_t Execute(std::u16string_view operation, std::u16string_view file,
                           std::u16string_view parameters, std::u16string_view directory,
                           int showCommand) override;
    std::uint32_t MissingFileError(std::u16string_view path) override;
    void Start(std::u16string_view commandLine, int showCommand,
               std::u16string_view directory) override;
    std::u16string ExpandEnvironmentStringsW(std::u16string_view text) override;
    void OpenFolder(int folder, int showCommand) override;
    void MinimizeAll() override;
    void UndoMinimizeAll() override;
    std::u16string ErrorText(std::uint32_t errorCode) override;
    void ShowErrorBox(std::u16string_view text) override;

  private:
    void JoinCom();

    std::function<HWND()> owner_;
    std::optional<ScopedCoInitialize> com_;
    // Released before COM ends.
    ShellDispatch shellObject_;
};

}  // namespace quorvel
