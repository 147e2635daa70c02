#pragma once

#include <windows.h>

#include <vector>

#include "common/win/unique_handle_win.h"

namespace quorvel {

// The tab control's page as brushes, so that check boxes and group box captions standing on
// it paint their background like the page: under a visual style white and shaded, not the
// window's button face. Controls that are siblings of the tab control get no themed page
// background of their own; this is the dialog manager's tab texture for an ordinary window.
// Only the rows of the page that a control paints are rendered, when it first asks, and
// controls on the same rows share them. Without a visual style, and in high contrast, the page
// is the button face, and the captions on it take the button text colour that goes with it.
class TabPageBrush {
  public:
    // Forgets the rows rendered when the tab control's size changed since; call after it was
    // moved or resized. After the system's colours or visual style changed, start from a new
    // TabPageBrush.
    void Update(HWND tabControl);
    // For WM_CTLCOLORBTN / WM_CTLCOLORSTATIC of a control over the page.
    HBRUSH ForControl(HDC dc, HWND control);

  private:
    // Rows of the page, from `top` in the tab control's client area.
    struct Rows {
        int top;
        int height;
        UniqueGdiObject brush;
    };
    const Rows& RowsUnder(HWND control);
    UniqueGdiObject Render(int top, int height) const;

    HWND tab_ = nullptr;
    SIZE size_{};  // the tab control's client area, as rendered
    bool themed_ = false;
    std::vector<Rows> rendered_;
};

}  // namespace quorvel
