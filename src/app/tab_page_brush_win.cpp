#include "app/tab_page_brush_win.h"

#include <uxtheme.h>

#include "common/error.h"
#include "common/win/system_win.h"
#include "common/win/ui_metrics_win.h"

namespace quorvel {

namespace {

// Theme support comes from the system folder when asked for; without it nothing is themed.
bool VisualStyleActive() {
    try {
        return LateBound<decltype(::IsThemeActive)>(L"uxtheme.dll", "IsThemeActive")() &&
               LateBound<decltype(::IsAppThemed)>(L"uxtheme.dll", "IsAppThemed")();
    } catch (const Error&) {
        return false;
    }
}

}  // namespace

void TabPageBrush::Update(HWND tabControl) {
    RECT bounds{};
    ::GetClientRect(tabControl, &bounds);
    if (tabControl == tab_ && bounds.right == size_.cx && bounds.bottom == size_.cy) return;
    tab_ = tabControl;
    size_ = {bounds.right, bounds.bottom};
    brush_.reset();
    if (!VisualStyleActive() || HighContrast()) return;
    if (bounds.right <= 0 || bounds.bottom <= 0) return;
    const HDC screen = ::GetDC(tabControl);
    const HDC memory = ::CreateCompatibleDC(screen);
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, bounds.right, bounds.bottom));
    const HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    // What the style leaves unpainted is the button face, not the new bitmap's black.
    ::FillRect(memory, &bounds, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SendMessageW(tabControl, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                   PRF_CLIENT | PRF_ERASEBKGND);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(tabControl, screen);
    brush_.reset(::CreatePatternBrush(static_cast<HBITMAP>(bitmap.get())));
}

HBRUSH TabPageBrush::ForControl(HDC dc, HWND control) const {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    if (!brush_) return ::GetSysColorBrush(COLOR_BTNFACE);
    // Line the pattern up with the page behind the control.
    POINT origin{0, 0};
    ::MapWindowPoints(control, tab_, &origin, 1);
    ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    return static_cast<HBRUSH>(brush_.get());
}

}  // namespace quorvel
