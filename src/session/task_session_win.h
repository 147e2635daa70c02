#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "actions/system_services_win.h"
#include "common/win/unique_handle_win.h"
#include "hotkeys/registrar_win.h"
#include "session/task_session.h"

namespace quorvel {

// The task session on Windows: the registrar with its hidden window, where WM_HOTKEY arrives
// and the hotkeys other programs hold are retried, and the system's services the actions use.
// Made before the main window, which shows its list; destroyed after it.
class TaskSessionWin {
  public:
    TaskSessionWin(HINSTANCE instance, FileSystem& files, std::u16string actionsPath,
                   const HotKeyText& hotKeyText);

    TaskSession& Session() { return session_; }
    HotKeyRegistrar& Registrar() { return registrar_.Registrar(); }

    // The session's start-up; a failure goes to the standard error box.
    void StartUp();
    // The window that owns what a launch shows and an action's error box, asked for at each
    // use; none until given.
    void SetLaunchOwner(std::function<HWND()> owner) { launchOwner_ = std::move(owner); }

  private:
    HWND LaunchOwner() const { return launchOwner_ ? launchOwner_() : nullptr; }

    std::function<HWND()> launchOwner_;
    RegistrarWindow registrar_;
    WindowsSystem system_;
    TaskSession session_;
};

}  // namespace quorvel
