#pragma once

#include <windows.h>
#include <shldisp.h>

#include "common/win/com_ptr_win.h"

namespace quorvel {

// Shell1: a client of the shell's automation object. It connects on first use, to a running
// object when there is one, else to a new one, and stays connected while it lives.
// Every failure, connecting or calling, throws Error with the system's text for the result.
class ShellDispatch {
  public:
    void MinimizeAll();
    void UndoMinimizeALL();

  private:
    IShellDispatch& Connected();

    ComPtr<IShellDispatch> shell_;
};

}  // namespace quorvel
