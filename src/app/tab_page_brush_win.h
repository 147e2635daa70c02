#pragma once

#include <windows.h>

#include "common/win/unique_handle_win.h"

namespace quorvel {

// The tab control's page as a brush, so that check boxes and group box captions standing on
// it paint their background like the page (white and shaded under visual styles, not the
// window's button face). Controls that are siblings of the tab control get no themed page
// background of their own; this is the dialog manager's tab texture for an ordinary window.
class TabPageBrush {
  public:
    // Renders the tab control as it looks now; call after it was moved or resized.
    void Update(HWND tabControl);
    // For WM_CTLCOLORBTN / WM_CTLCOLORSTATIC of a control over the page.
    HBRUSH ForControl(HDC dc, HWND control) const;

  private:
    HWND tab_ = nullptr;
    UniqueGdiObject brush_;
};

}  // namespace quorvel
