#pragma once

#include <windows.h>

#include "common/win/unique_handle_win.h"

namespace quorvel {

// Layout values are designed at 96 DPI and scaled to the screen's.
class Dpi {
  public:
    explicit Dpi(int dpi) : dpi_(dpi) {}
    // The DPI of the screen the program starts on (the manifest declares system awareness).
    static Dpi OfScreen();

    int Value() const { return dpi_; }
    int Scale(int pixelsAt96) const { return ::MulDiv(pixelsAt96, dpi_, 96); }
    int Unscale(int pixels) const { return ::MulDiv(pixels, 96, dpi_); }

  private:
    int dpi_;
};

// The font the system uses for message boxes, the one dialogs and controls are expected to use.
UniqueGdiObject CreateMessageFont();
// The message font's face at another height (in pixels at 96 DPI), optionally underlined.
UniqueGdiObject CreateVariantFont(HFONT base, const Dpi& dpi, int heightAt96, bool underline);

// Gives every child of a window the font.
void SetChildrenFont(HWND parent, HFONT font);

}  // namespace quorvel
