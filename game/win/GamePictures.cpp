#include "game/win/GamePictures.h"

#include <cmath>

namespace {

// Runs the drawing on a new bitmap of the size, filled with the background.
template <typename Draw> UniqueGdiObject DrawPicture(SIZE size, COLORREF background, Draw draw) {
    WindowDc screen(nullptr);
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
    HGDIOBJ old = ::SelectObject(dc.Get(), bitmap.Get());
    UniqueGdiObject fill(::CreateSolidBrush(background));
    const RECT all{0, 0, size.cx, size.cy};
    ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(fill.Get()));
    draw(dc.Get());
    ::SelectObject(dc.Get(), old);
    return bitmap;
}

// Fills a shape with a colour and outlines it in another.
template <typename Shape> void FillShape(HDC dc, COLORREF fill, COLORREF outline, Shape shape) {
    UniqueGdiObject brush(::CreateSolidBrush(fill));
    UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, outline));
    HGDIOBJ oldBrush = ::SelectObject(dc, brush.Get());
    HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
    shape();
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
}

void DrawHeart(HDC dc) {
    const COLORREF red = RGB(220, 30, 50), dark = RGB(140, 10, 30);
    FillShape(dc, red, dark, [dc] {
        ::Ellipse(dc, 1, 1, 18, 17);
        ::Ellipse(dc, 16, 1, 33, 17);
        const POINT tip[] = {{2, 11}, {32, 11}, {17, 28}};
        ::Polygon(dc, tip, 3);
    });
    FillShape(dc, RGB(255, 170, 180), RGB(255, 170, 180), [dc] { ::Ellipse(dc, 6, 5, 11, 10); });
}

// A burst of flame growing and fading over the frames.
void DrawBurst(HDC dc, int frame) {
    static constexpr COLORREF kOuter[kExplosionFrames] = {RGB(255, 250, 180), RGB(255, 220, 60),
                                                          RGB(255, 160, 20),  RGB(240, 90, 20),
                                                          RGB(170, 60, 40),   RGB(90, 70, 80)};
    const double cx = kExplosionSize.cx / 2.0, cy = kExplosionSize.cy / 2.0;
    const double outer = 8 + frame * 4, inner = outer * 0.45;
    POINT star[16];
    for (int i = 0; i < 16; ++i) {
        const double radius = i % 2 ? inner : outer;
        const double angle = i * 3.14159265358979 / 8 + frame * 0.2;
        star[i] = {static_cast<LONG>(cx + radius * std::cos(angle)),
                   static_cast<LONG>(cy + radius * std::sin(angle))};
    }
    FillShape(dc, kOuter[frame], kOuter[frame], [dc, &star] { ::Polygon(dc, star, 16); });
    if (frame < kExplosionFrames - 2) {
        const int core = static_cast<int>(inner * 0.8);
        FillShape(dc, RGB(255, 255, 230), RGB(255, 255, 230), [dc, cx, cy, core] {
            ::Ellipse(dc, static_cast<int>(cx) - core, static_cast<int>(cy) - core,
                      static_cast<int>(cx) + core, static_cast<int>(cy) + core);
        });
    }
}

} // namespace

CGamePictures::CGamePictures() {
    heart_ = DrawPicture(kHeartSize, ::GetSysColor(COLOR_BTNFACE), DrawHeart);
    for (int frame = 0; frame < kExplosionFrames; ++frame)
        explosion_.push_back(
            DrawPicture(kExplosionSize, kFieldColour, [frame](HDC dc) { DrawBurst(dc, frame); }));
}
