#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <utility>

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

// Joins the GUI thread to COM at the first call that wants it, which few starts make; so each
// is made and used on that thread.
class ComUser {
  protected:
    void JoinCom() {
        if (!com_) com_.emplace();
    }

  private:
    std::optional<ScopedCoInitialize> com_;
};

class WindowsLauncher final : public Launcher, ComUser {
  public:
    explicit WindowsLauncher(std::function<HWND()> owner);
    std::uintptr_t Execute(std::u16string_view operation, std::u16string_view file,
                           std::u16string_view parameters, std::u16string_view directory,
                           int showCommand) override;
    std::uint32_t MissingFileError(std::u16string_view path) override;
    void Start(std::u16string_view commandLine, int showCommand,
               std::u16string_view directory) override;
    std::u16string ExpandEnvironmentStringsW(std::u16string_view text) override;
    std::u16string ErrorText(std::uint32_t errorCode) override;

  private:
    std::function<HWND()> owner_;
};

class WindowsDesktop final : public Desktop, ComUser {
  public:
    void OpenFolder(int folder, int showCommand) override;
    void MinimizeAll() override;
    void UndoMinimizeAll() override;

  private:
    // Released before COM ends.
    ShellDispatch shellObject_;
};

class WindowsPressBoxes final : public PressBoxes {
  public:
    explicit WindowsPressBoxes(std::function<HWND()> owner);
    void ShowErrorBox(std::u16string_view text) override;
    void ShowMessage(std::u16string_view text, std::u16string_view caption) override;

  private:
    std::function<HWND()> owner_;
};

// All of them on Windows. The clipboard is taken for `clipboardOwner`'s window; launches and
// the press's error boxes are owned by `launchOwner`'s.
struct WindowsSystem {
    WindowsSystem(std::function<HWND()> clipboardOwner, std::function<HWND()> launchOwner)
        : clipboard(std::move(clipboardOwner)), launcher(launchOwner), boxes(launchOwner) {}
    SystemServices Services() {
        return {power, processes, cdDoors, clipboard, launcher, desktop, boxes};
    }

    WindowsPowerControl power;
    WindowsProcessList processes;
    WindowsCdDoors cdDoors;
    WindowsClipboard clipboard;
    WindowsLauncher launcher;
    WindowsDesktop desktop;
    WindowsPressBoxes boxes;
};

}  // namespace quorvel
