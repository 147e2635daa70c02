#pragma once

#include <windows.h>

#include <functional>

#include "actions/system_operations.h"

namespace quorvel {

// The actions' operations on the real system. Construct and use it on the GUI thread: it
// joins that thread to COM for the shell's calls.
class WindowsActions final : public SystemOperations {
  public:
    // `editorWindow` owns what the shell shows for a launch; `applicationWindow` owns the
    // clipboard while it is cleared. Both are asked for at each use.
    WindowsActions(std::function<HWND()> editorWindow, std::function<HWND()> applicationWindow);
    // One window for both.
    explicit WindowsActions(HWND owner);
};

}  // namespace quorvel
