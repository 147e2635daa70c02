#pragma once

#include <windows.h>

#include <functional>

#include "actions/system_operations.h"

namespace quorvel {

// The actions' operations on the real system. Construct and use it on the GUI thread: it
// joins that thread to COM for the shell's calls.
class WindowsActions final : public SystemOperations {
  public:
    // `launchOwner` gives the window that owns what the shell shows for a launch; it is asked
    // for at each use. `clipboardOwner`, one of the program's windows, owns the clipboard while
    // it is cleared.
    WindowsActions(const std::function<HWND()>& launchOwner, HWND clipboardOwner);
};

}  // namespace quorvel
