#include "saver/controls/GradientPanel.h"

namespace kv {
namespace {

void FillSolid(HDC dc, const RECT& r, COLORREF rgb) {
    FillRect(dc, &r, static_cast<HBRUSH>(SolidBrush(rgb).Get()));
}

// One-pixel rings: top and left in the first colour, bottom and right in the second.
void Frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight, int width) {
    for (int i = 0; i < width && r.right > r.left && r.bottom > r.top; ++i) {
        FillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
        FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
        FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
        FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
        InflateRect(&r, -1, -1);
    }
}

SIZE MeasureLine(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size;
}

}  // namespace

void GradientFill(HDC dc, const RECT& r, Color start, Color end, TFillDirection direction, int colours) {
    GradientPlan plan = PlanGradient(r.right - r.left, r.bottom - r.top, ResolveColor(start), ResolveColor(end),
                                     direction, colours);
    for (const GradientStrip& s : plan.strips) {
        RECT band = plan.vertical ? RECT{r.left, r.top + s.from, r.right, r.top + s.to}
                                  : RECT{r.left + s.from, r.top, r.left + s.to, r.bottom};
        FillSolid(dc, band, s.rgb);
    }
}

TGradientPanel::TGradientPanel(Component* owner, const ControlArgs& args) : CustomPanel(owner, args) {}

void TGradientPanel::SetIcon(HBITMAP picture) {
    icon_.Reset(picture ? static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, 0, 0, 0)) : nullptr);
    Invalidate();
}

void TGradientPanel::PaintBevel(HDC dc, RECT& r, TBevelCut cut) const {
    if (cut == TBevelCut::bvNone) return;
    COLORREF highlight = ResolveColor(clBtnHighlight), shadow = ResolveColor(clBtnShadow);
    if (cut == TBevelCut::bvRaised)
        Frame3D(dc, r, highlight, shadow, bevelWidth_);
    else
        Frame3D(dc, r, shadow, highlight, bevelWidth_);
}

// The background is painted in full here (the window class erases nothing), so nothing flickers.
void TGradientPanel::Paint(HDC dc, const RECT& client) {
    RECT r = client;
    PaintBevel(dc, r, bevelOuter_);
    PaintBevel(dc, r, bevelInner_);
    if (gradient_)
        GradientFill(dc, r, startColor_, endColor_, direction_, 255);
    else
        FillSolid(dc, r, ResolveColor(color_));
    SetBkMode(dc, TRANSPARENT);
    if (icon_) {
        BITMAP bm{};
        GetObjectW(icon_.Get(), sizeof(bm), &bm);
        ScopedMemoryDC mem(dc);
        ScopedSelectObject picture(mem.Get(), icon_.Get());
        BitBlt(dc, width_ / 2 - bm.bmWidth / 2, height_ / 2 - bm.bmHeight / 2, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0,
               SRCCOPY);
        return;
    }
    PaintCaption(dc, r);
}

void TGradientPanel::PaintCaption(HDC dc, RECT& r) {
    if (caption_.empty()) return;
    ScopedGdiObject grown;
    if (textFillsPanel_) {
        int dpi = GetDeviceCaps(dc, LOGPIXELSY);
        int points = MulDiv(font_.height, 72, dpi);
        ScopedSelectObject measuring(dc, FontHandle());
        SIZE size = MeasureLine(dc, caption_);
        if (size.cx < width_ && size.cy < height_) {
            // Grow a point at a time while the caption stays 10 pixels inside, then step back one.
            for (int guard = 0; guard < 1000 && size.cx < width_ - 10 && size.cy < height_ - 10; ++guard) {
                ++points;
                ScopedGdiObject font(CreateFontOf(font_, MulDiv(points, dpi, 72)));
                ScopedSelectObject sel(dc, font.Get());
                size = MeasureLine(dc, caption_);
            }
            grown.Reset(CreateFontOf(font_, MulDiv(points - 1, dpi, 72)));
        }
    }
    ScopedSelectObject font(dc, grown ? grown.Get() : FontHandle());
    SetTextColor(dc, ResolveColor(font_.color));
    DrawTextExW(dc, caption_.data(), int(caption_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
                nullptr);
}

}  // namespace kv
