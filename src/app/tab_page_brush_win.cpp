#include "app/tab_page_brush_win.h"

namespace quorvel {

void TabPageBrush::Update(HWND tabControl) {
    tab_ = tabControl;
    RECT bounds{};
    ::GetClientRect(tabControl, &bounds);
    if (bounds.right <= 0 || bounds.bottom <= 0) return;
    const HDC screen = ::GetDC(tabControl);
    const HDC memory = ::CreateCompatibleDC(screen);
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, bounds.right, bounds.bottom));
    const HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    ::SendMessageW(tabControl, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                   PRF_CLIENT | PRF_ERASEBKGND);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(tabControl, screen);
    brush_.reset(::CreatePatternBrush(static_cast<HBITMAP>(bitmap.get())));
}

HBRUSH TabPageBrush::ForControl(HDC dc, HWND control) const {
    ::SetBkMode(dc, TRANSPARENT);
    if (!brush_) return ::GetSysColorBrush(COLOR_BTNFACE);
    // Line the pattern up with the page behind the control.
    POINT origin{0, 0};
    ::MapWindowPoints(control, tab_, &origin, 1);
    ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    return static_cast<HBRUSH>(brush_.get());
}

}  // namespace quorvel
