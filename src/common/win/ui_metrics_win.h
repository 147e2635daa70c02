#pragma once

#include <windows.h>

#include "common/win/unique_handle_win.h"

namespace quorvel {

// Layout values are designed at 96 DPI and scaled to the monitor's.
class Dpi {
  public:
    explicit Dpi(int dpi) : dpi_(dpi) {}
    // The system's DPI, the one of the primary monitor when the user logged on.
    static Dpi OfScreen();
    // The DPI of the monitor the window is on (the manifest declares per-monitor awareness),
    // or the system's where Windows has no DPI per monitor (before Windows 10 1607).
    static Dpi OfWindow(HWND window);

    int Value() const { return dpi_; }
    int Scale(int pixelsAt96) const { return ::MulDiv(pixelsAt96, dpi_, 96); }
    int Unscale(int pixels) const { return ::MulDiv(pixels, 96, dpi_); }

  private:
    int dpi_;
};

// The font the system uses for message boxes, the one dialogs and controls are expected to use,
// at that DPI.
UniqueGdiObject CreateMessageFont(const Dpi& dpi);
// The message font's face at another height (in pixels at 96 DPI), optionally underlined.
UniqueGdiObject CreateVariantFont(HFONT base, const Dpi& dpi, int heightAt96, bool underline);

// Gives the children that have the font `old` the font `replacement`, and redraws them.
void ReplaceChildrenFont(HWND parent, HFONT old, HFONT replacement);

// A program icon from the resources at that size, drawn from its nearest image.
UniqueIcon LoadIconAtSize(HINSTANCE instance, int resourceId, int size);

// Whether the user chose a high-contrast scheme: then only the system's colour pairs are drawn.
bool HighContrast();

}  // namespace quorvel
