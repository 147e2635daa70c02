#include "common/win/remembered_focus_win.h"

namespace quorvel {

void RememberedFocus::OnActivate(HWND window, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        Remember(window);
    } else if (HIWORD(wParam) == 0) {  // not while minimised
        Restore(window);
    }
}

void RememberedFocus::Remember(HWND window) {
    // A focus outside the window (none, or a box that took it first) changes nothing.
    const HWND focus = ::GetFocus();
    if (focus != nullptr && ::IsChild(window, focus)) control_ = focus;
}

void RememberedFocus::Restore(HWND window) const {
    const bool usable = control_ != nullptr && ::IsChild(window, control_) &&
                        ::IsWindowVisible(control_) && ::IsWindowEnabled(control_);
    const HWND target =
        usable ? control_ : ::GetNextDlgTabItem(window, /*hCtl=*/nullptr, /*bPrevious=*/FALSE);
    if (target != nullptr) ::SetFocus(target);
}

}  // namespace quorvel
