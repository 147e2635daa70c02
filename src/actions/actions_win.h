#pragma once

#include <windows.h>

#include <functional>

#include "actions/system_operations.h"
#include "actions/system_services_win.h"

namespace quorvel {

// The services WindowsActions hands its operations; a base of its own, so that they are made
// before the operations that use them.
struct WindowsServices {
    explicit WindowsServices(const std::function<HWND()>& owner);

    WindowsPowerControl power;
    WindowsProcessList processes;
    WindowsCdDoors cdDoors;
    WindowsClipboard clipboard;
    WindowsShell shell;
};

// The actions' operations on the real system. Construct and use it on the GUI thread: it
// joins that thread to COM for the shell's calls.
class WindowsActions final : private WindowsServices, public SystemOperations {
  public:
    // `owner` gives the window that owns what the shell shows for a launch and the clipboard
    // while it is cleared; it is asked for at each use.
    explicit WindowsActions(const std::function<HWND()>& owner);
};

}  // namespace quorvel
