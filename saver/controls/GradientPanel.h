#pragma once
// A panel whose background is a banded colour gradient, with a bevel, a one-line caption
// (optionally grown to fill the panel) or a centred picture.
#include "framework/StdControls.h"
#include "saver/controls/GradientBands.h"

namespace kv {

enum class TBevelCut : uint8_t { bvNone = 0, bvLowered = 1, bvRaised = 2, bvSpace = 3 };

// Paints r of dc in bands from start to end (colour values; system colours are resolved).
void GradientFill(HDC dc, const RECT& r, Color start, Color end, TFillDirection direction, int colours);

class TGradientPanel : public CustomPanel {
public:
    TGradientPanel(Component* owner, const ControlArgs& args);

    Color GradientStartColor() const { return startColor_; }
    void SetGradientStartColor(Color c) { Store(startColor_, c); }
    Color GradientEndColor() const { return endColor_; }
    void SetGradientEndColor(Color c) { Store(endColor_, c); }
    bool Gradient() const { return gradient_; }
    void SetGradient(bool on) { Store(gradient_, on); }
    TFillDirection GradientFillDir() const { return direction_; }
    void SetGradientFillDir(TFillDirection direction) { Store(direction_, direction); }
    bool TextFillsPanel() const { return textFillsPanel_; }
    void SetTextFillsPanel(bool on) { Store(textFillsPanel_, on); }
    // The panel keeps its own copy of the picture; null clears it.
    HBITMAP Icon() const { return icon_.Get(); }
    void SetIcon(HBITMAP picture);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut) { Store(bevelOuter_, cut); }
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut) { Store(bevelInner_, cut); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width) { Store(bevelWidth_, width < 1 ? 1 : width); }

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    // Every setter repaints, also when the value is the one already held.
    template <typename T>
    void Store(T& field, T value) {
        field = value;
        Invalidate();
    }
    void PaintBevel(HDC dc, RECT& r, TBevelCut cut) const;
    void PaintCaption(HDC dc, RECT& r);

    Color startColor_ = clWhite;
    Color endColor_ = Rgb(128, 0, 0);
    bool gradient_ = true;
    TFillDirection direction_ = TFillDirection::fdTopToBottom;
    bool textFillsPanel_ = false;
    ScopedBitmap icon_;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    int bevelWidth_ = 1;
};

}  // namespace kv
