#include "common/win/ui_metrics_win.h"

namespace quorvel {

Dpi Dpi::OfScreen() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return Dpi(dpi > 0 ? dpi : 96);
}

UniqueGdiObject CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return UniqueGdiObject(::CreateFontIndirectW(&metrics.lfMessageFont));
    }
    LOGFONTW fallback{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
    return UniqueGdiObject(::CreateFontIndirectW(&fallback));
}

UniqueGdiObject CreateVariantFont(HFONT base, const Dpi& dpi, int heightAt96, bool underline) {
    LOGFONTW font{};
    ::GetObjectW(base, sizeof(font), &font);
    font.lfHeight = -dpi.Scale(heightAt96);
    font.lfWidth = 0;
    font.lfUnderline = underline ? TRUE : FALSE;
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

void SetChildrenFont(HWND parent, HFONT font) {
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM f) -> BOOL {
            ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(f), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

}  // namespace quorvel
