#include "session/drawn_pictures_win.h"

#include <array>
#include <cmath>
#include <numbers>

#include "common/win/unique_handle_win.h"

namespace quorvel {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A pen and a brush selected into the device context for as long as it lives.
class Paint {
  public:
    Paint(HDC dc, COLORREF penColour, int penWidth, COLORREF brushColour)
        : pen_(::CreatePen(PS_SOLID, penWidth, penColour)),
          brush_(::CreateSolidBrush(brushColour)),
          selectedPen_(dc, pen_.get()),
          selectedBrush_(dc, brush_.get()) {}

  private:
    // Declared before their selections, so that they are deleted only once deselected.
    UniqueGdiObject pen_;
    UniqueGdiObject brush_;
    SelectedObject selectedPen_;
    SelectedObject selectedBrush_;
};

// A round-cornered tile of one colour, the ground of the two power pictures.
void DrawTile(HDC dc, COLORREF colour) {
    Paint paint(dc, colour, 1, colour);
    ::RoundRect(dc, 2, 2, 30, 30, 10, 10);
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2) {
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

POINT OnCircle(double centre, double radius, double angle) {
    return {static_cast<LONG>(std::lround(centre + radius * std::cos(angle))),
            static_cast<LONG>(std::lround(centre - radius * std::sin(angle)))};
}

// RebootPicture: a green tile with a white burst of eight short rays.
void DrawRestartPicture(HDC dc) {
    DrawTile(dc, RGB(52, 160, 72));
    Paint paint(dc, kWhite, 3, kWhite);
    for (int ray = 0; ray < 8; ++ray) {
        const double angle = ray * std::numbers::pi / 4;
        const POINT inner = OnCircle(16, 4.5, angle);
        const POINT outer = OnCircle(16, 10.5, angle);
        DrawLine(dc, inner.x, inner.y, outer.x, outer.y);
    }
}

// PowerPicture: an orange tile with a white power symbol, a ring open at the top and a bar through
// the gap.
void DrawPowerPicture(HDC dc) {
    DrawTile(dc, RGB(240, 136, 24));
    Paint paint(dc, kWhite, 3, kWhite);
    const POINT gapRight = OnCircle(16, 8, std::numbers::pi * 0.35);
    const POINT gapLeft = OnCircle(16, 8, std::numbers::pi * 0.65);
    // Counter-clockwise from the left of the gap, round the bottom, to its right.
    ::Arc(dc, 8, 8, 25, 25, gapLeft.x, gapLeft.y, gapRight.x, gapRight.y);
    DrawLine(dc, 16, 6, 16, 16);
}

// WindowsPicture: a blue window with a pen lying across its corner.
void DrawWindowPicture(HDC dc) {
    const COLORREF blue = RGB(36, 92, 200);
    {
        Paint frame(dc, blue, 2, kWhite);
        ::Rectangle(dc, 2, 4, 25, 26);
    }
    {
        Paint titleBar(dc, blue, 1, blue);
        ::Rectangle(dc, 2, 4, 25, 10);
    }
    Paint body(dc, RGB(60, 60, 60), 1, RGB(250, 200, 40));
    const std::array<POINT, 4> shaft{{{29, 13}, {31, 15}, {20, 26}, {18, 24}}};
    ::Polygon(dc, shaft.data(), static_cast<int>(shaft.size()));
    Paint tip(dc, RGB(60, 60, 60), 1, RGB(60, 60, 60));
    const std::array<POINT, 3> point{{{18, 24}, {20, 26}, {16, 28}}};
    ::Polygon(dc, point.data(), static_cast<int>(point.size()));
}

// ClipboardPicture: a clipboard with a sheet of written paper under its clip.
void DrawClipboardPicture(HDC dc) {
    {
        Paint board(dc, RGB(120, 80, 40), 1, RGB(176, 122, 64));
        ::RoundRect(dc, 5, 4, 27, 31, 5, 5);
    }
    {
        Paint paper(dc, RGB(150, 150, 150), 1, kWhite);
        ::Rectangle(dc, 8, 8, 24, 28);
    }
    {
        Paint writing(dc, RGB(110, 140, 190), 1, kWhite);
        for (int y = 13; y <= 24; y += 3) DrawLine(dc, 10, y, 22, y);
    }
    Paint clip(dc, RGB(90, 90, 90), 1, RGB(190, 190, 196));
    ::RoundRect(dc, 11, 2, 21, 9, 3, 3);
}

void DrawDesignedPicture(HDC dc, DrawnPicture picture) {
    switch (picture) {
        case DrawnPicture::RebootPicture:
            DrawRestartPicture(dc);
            return;
        case DrawnPicture::PowerPicture:
            DrawPowerPicture(dc);
            return;
        case DrawnPicture::WindowsPicture:
            DrawWindowPicture(dc);
            return;
        case DrawnPicture::ClipboardPicture:
            DrawClipboardPicture(dc);
            return;
    }
}

}  // namespace

void DrawPicture(HDC dc, DrawnPicture picture, int size) {
    // The designed 32 units stretched over the square, pens included.
    const int oldMode = ::SetMapMode(dc, MM_ANISOTROPIC);
    ::SetWindowExtEx(dc, 32, 32, nullptr);
    ::SetViewportExtEx(dc, size, size, nullptr);
    DrawDesignedPicture(dc, picture);
    ::SetMapMode(dc, oldMode);
}

}  // namespace quorvel
