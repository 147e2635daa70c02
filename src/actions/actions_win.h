#pragma once

#include <windows.h>

#include <functional>

#include "actions/system_operations.h"
#include "actions/system_services_win.h"

namespace quorvel {

// The services WindowsActions hands its operations; a base of its own, so that they are made
// before the operations that use them.
struct WindowsServices {
    WindowsServices(const std::function<HWND()>& launchOwner, HWND clipboardOwner);

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
    // `launchOwner` gives the window that owns what the shell shows for a launch; it is asked
    // for at each use. `clipboardOwner`, one of the program's windows, owns the clipboard while
    // it is cleared.
    WindowsActions(const std::function<HWND()>& launchOwner, HWND clipboardOwner);
};

}  // namespace quorvel
