#include "common/win/ui_metrics_win.h"

#include "common/error.h"
#include "common/win/system_win.h"

namespace quorvel {

Dpi Dpi::OfScreen() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return Dpi(dpi > 0 ? dpi : 96);
}

Dpi Dpi::OfWindow(HWND window) {
    // Looked up once: Windows 7 and 8 have no such call, and the executable must start there.
    using GetDpiForWindow = UINT WINAPI(HWND window);
    static const auto getDpiForWindow = []() -> GetDpiForWindow* {
        try {
            return LateBound<GetDpiForWindow>(L"user32.dll", "GetDpiForWindow");
        } catch (const Error&) {
            return nullptr;
        }
    }();
    const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi > 0 ? Dpi(static_cast<int>(dpi)) : OfScreen();
}

// The system keeps its metrics at the system's DPI.
UniqueGdiObject CreateMessageFont(const Dpi& dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW font{};
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    }
    font.lfHeight = ::MulDiv(font.lfHeight, dpi.Value(), Dpi::OfScreen().Value());
    font.lfWidth = 0;
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

UniqueGdiObject CreateVariantFont(HFONT base, const Dpi& dpi, int heightAt96, bool underline) {
    LOGFONTW font{};
    ::GetObjectW(base, sizeof(font), &font);
    font.lfHeight = -dpi.Scale(heightAt96);
    font.lfWidth = 0;
    font.lfUnderline = underline ? TRUE : FALSE;
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

UniqueIcon LoadIconAtSize(HINSTANCE instance, int resourceId, int size) {
    return UniqueIcon(static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0)));
}

bool HighContrast() {
    HIGHCONTRASTW scheme{};
    scheme.cbSize = sizeof(scheme);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(scheme), &scheme, 0) &&
           (scheme.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void ReplaceChildrenFont(HWND parent, HFONT old, HFONT replacement) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)) == old) {
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(replacement), TRUE);
        }
    }
}

}  // namespace quorvel
