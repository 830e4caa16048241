#include "saver/window/ButtonImages.h"

#include "framework/Scoped.h"

namespace kv {
namespace {

constexpr int kSize = 11;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

template <typename DrawFn>
ScopedBitmap MakeImage(DrawFn draw) {
    ScopedGetDC screen(nullptr);
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), kSize * 2, kSize));
    ScopedMemoryDC memory(screen.Get());
    HDC dc = memory.Get();
    {
        ScopedSelectObject sel(dc, bitmap.Get());
        RECT all{0, 0, kSize * 2, kSize};
        ScopedGdiObject back(CreateSolidBrush(kTransparent));
        FillRect(dc, &all, static_cast<HBRUSH>(back.Get()));
        const COLORREF colours[2] = {RGB(0, 0, 0), RGB(128, 128, 128)};
        for (int state = 0; state < 2; ++state) {
            ScopedGdiObject brush(CreateSolidBrush(colours[state]));
            ScopedGdiObject pen(CreatePen(PS_SOLID, 1, colours[state]));
            ScopedSelectObject b(dc, brush.Get());
            ScopedSelectObject p(dc, pen.Get());
            draw(dc, state * kSize);
        }
    }
    return bitmap;
}

}  // namespace

ScopedBitmap MakePlayImage() {
    return MakeImage([](HDC dc, int x) {
        POINT tri[3] = {{x + 2, 1}, {x + 9, 5}, {x + 2, 9}};
        Polygon(dc, tri, 3);
    });
}

ScopedBitmap MakePauseImage() {
    return MakeImage([](HDC dc, int x) {
        Rectangle(dc, x + 2, 1, x + 5, 10);
        Rectangle(dc, x + 6, 1, x + 9, 10);
    });
}

ScopedBitmap MakeStopImage() {
    return MakeImage([](HDC dc, int x) { Rectangle(dc, x + 2, 2, x + 9, 9); });
}

}  // namespace kv
