#pragma once

#include <windows.h>

#include "common/win/unique_handle_win.h"

namespace quorvel {

// The tab control's page as a brush, so that check boxes and group box captions standing on
// it paint their background like the page: under a visual style white and shaded, not the
// window's button face. Controls that are siblings of the tab control get no themed page
// background of their own; this is the dialog manager's tab texture for an ordinary window.
// Without a visual style, and in high contrast, the page is the button face, and the captions
// on it take the button text colour that goes with it.
class TabPageBrush {
  public:
    // Renders the tab control as it looks now, when its size changed since the last rendering
    // (a rendering takes a copy of the whole page); call after it was moved or resized. After
    // the system's colours or visual style changed, start from a new TabPageBrush.
    void Update(HWND tabControl);
    // For WM_CTLCOLORBTN / WM_CTLCOLORSTATIC of a control over the page.
    HBRUSH ForControl(HDC dc, HWND control) const;

  private:
    HWND tab_ = nullptr;
    SIZE size_{};            // the tab control's client area, as rendered
    UniqueGdiObject brush_;  // none while the page is the button face
};

}  // namespace quorvel
