#pragma once

#include <windows.h>

namespace quorvel {

// The keyboard focus of a window that is not a dialog box: the control that had it when the
// window lost activation gets it back when the window is active again (after one of the
// program's own dialogs or boxes, or another program), so that Tab, Space and Enter go on
// working without a click. Without such a control, the first Tab stop gets it.
class RememberedFocus {
  public:
    // The window's WM_ACTIVATE.
    void OnActivate(HWND window, WPARAM wParam);

  private:
    void Remember(HWND window);
    void Restore(HWND window) const;

    HWND control_ = nullptr;
};

}  // namespace quorvel
