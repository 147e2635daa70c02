#include "app/tab_page_brush_win.h"

#include <uxtheme.h>

#include <algorithm>

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

// A group box fills only its caption's background with the brush: the rows of its font.
int PaintedHeight(HWND control, const RECT& bounds) {
    const int height = bounds.bottom - bounds.top;
    if ((::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX) return height;
    const HDC dc = ::GetDC(control);
    TEXTMETRICW metrics{};
    {
        const SelectedObject font(
            dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        ::GetTextMetricsW(dc, &metrics);
    }
    ::ReleaseDC(control, dc);
    return std::min(height, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
}

}  // namespace

void TabPageBrush::Update(HWND tabControl) {
    RECT bounds{};
    ::GetClientRect(tabControl, &bounds);
    if (tabControl == tab_ && bounds.right == size_.cx && bounds.bottom == size_.cy) return;
    tab_ = tabControl;
    size_ = {bounds.right, bounds.bottom};
    rendered_.clear();
    themed_ = VisualStyleActive() && !HighContrast();
}

HBRUSH TabPageBrush::ForControl(HDC dc, HWND control) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    if (!themed_ || size_.cx <= 0 || size_.cy <= 0) return ::GetSysColorBrush(COLOR_BTNFACE);
    const Rows& rows = RowsUnder(control);
    // Line the pattern up with the page behind the control.
    POINT origin{0, 0};
    ::MapWindowPoints(control, tab_, &origin, 1);
    ::SetBrushOrgEx(dc, -origin.x, rows.top - origin.y, nullptr);
    return static_cast<HBRUSH>(rows.brush.get());
}

const TabPageBrush::Rows& TabPageBrush::RowsUnder(HWND control) {
    RECT bounds{};
    ::GetWindowRect(control, &bounds);
    ::MapWindowPoints(nullptr, tab_, reinterpret_cast<POINT*>(&bounds), 2);
    const int top = static_cast<int>(bounds.top);
    const int height = PaintedHeight(control, bounds);
    for (const Rows& rows : rendered_) {
        if (rows.top == top && rows.height == height) return rows;
    }
    rendered_.push_back({top, height, Render(top, height)});
    return rendered_.back();
}

// The tab control paints itself into a bitmap of those rows alone.
UniqueGdiObject TabPageBrush::Render(int top, int height) const {
    const HDC screen = ::GetDC(tab_);
    const HDC memory = ::CreateCompatibleDC(screen);
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, size_.cx, std::max(height, 1)));
    const HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    ::SetViewportOrgEx(memory, 0, -top, nullptr);
    // What the style leaves unpainted is the button face, not the new bitmap's black.
    const RECT page{0, 0, size_.cx, size_.cy};
    ::FillRect(memory, &page, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SendMessageW(tab_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                   PRF_CLIENT | PRF_ERASEBKGND);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(tab_, screen);
    return UniqueGdiObject(::CreatePatternBrush(static_cast<HBITMAP>(bitmap.get())));
}

}  // namespace quorvel
