#include "framework/Control.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Text.h"

namespace kv {

COLORREF ResolveColor(Color c) {
    return IsSystemColor(c) ? GetSysColor(SystemColorIndex(c)) : COLORREF(c & 0xFFFFFF);
}

ScopedGdiObject SolidBrush(Color c) { return ScopedGdiObject(CreateSolidBrush(ResolveColor(c))); }

HFONT CreateFontOf(const FontSpec& f, int pixelHeight) {
    return CreateFontW(-pixelHeight, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, f.underline, FALSE, f.charset,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       f.name.c_str());
}

ShiftState KeyboardShiftState() {
    ShiftState s;
    s.shift = GetKeyState(VK_SHIFT) < 0;
    s.ctrl = GetKeyState(VK_CONTROL) < 0;
    s.alt = GetKeyState(VK_MENU) < 0;
    return s;
}

// ---- Control ----

Control::Control(Component* owner, const ControlArgs& a)
    : Component(owner, a.name),
      left_(a.left), top_(a.top), width_(a.width), height_(a.height),
      visible_(a.visible), enabled_(a.enabled), align_(a.align),
      caption_(Widen(a.caption)), font_(a.font), color_(a.color), hint_(a.hint) {}

Control::~Control() {
    if (parent_) parent_->RemoveChild(this);
}

void Control::SetParent(WinControl* parent) {
    if (parent_ == parent) return;
    if (parent_) parent_->RemoveChild(this);
    parent_ = parent;
    if (parent_) parent_->AddChild(this);
}

void Control::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    if (auto* g = dynamic_cast<GraphicControl*>(this)) g->Invalidate();
    left_ = left, top_ = top, width_ = std::max(0, width), height_ = std::max(0, height);
    BoundsChanged();
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    VisibleChanged();
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Invalidate();
}

void Control::SetAlign(Align align) {
    align_ = align;
    if (parent_) parent_->Realign();
}

void Control::SetCaption(const std::wstring& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    CaptionChanged();
}

void Control::SetCaption(const std::string& utf8) { SetCaption(Widen(utf8)); }

void Control::SetFont(const FontSpec& font) {
    font_ = font;
    fontHandle_.Reset();
    FontChanged();
}

HFONT Control::FontHandle() {
    if (!fontHandle_) {
        fontHandle_.Reset(CreateFontOf(font_, font_.height));
    }
    return static_cast<HFONT>(fontHandle_.Get());
}

void Control::SetColor(Color c) {
    color_ = c;
    Invalidate();
}

void Control::ScaleBy(int m, int d) {
    if (d == 0) return;
    FontSpec f = font_;
    f.height = std::max(1, MulDiv(f.height, m, d));
    SetFont(f);
    SetBounds(MulDiv(left_, m, d), MulDiv(top_, m, d), MulDiv(width_, m, d), MulDiv(height_, m, d));
}

void Control::Invalidate() {}

void Control::DoClick() {
    if (OnClick) Application.Guard([&] { OnClick(); });
}

void Control::DoMouseMove(ShiftState s, int x, int y) {
    if (OnMouseMove) Application.Guard([&] { OnMouseMove(s, x, y); });
}

void Control::DoMouseDown(MouseButton b, ShiftState s, int x, int y) {
    if (OnMouseDown) Application.Guard([&] { OnMouseDown(b, s, x, y); });
}

// ---- GraphicControl ----

GraphicControl::GraphicControl(Component* owner, const ControlArgs& args) : Control(owner, args) {
    SetParent(args.parent);
}

void GraphicControl::Invalidate() {
    if (parent_ && parent_->Handle()) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, TRUE);
    }
}

void GraphicControl::VisibleChanged() {
    RECT r = BoundsRect();
    if (parent_ && parent_->Handle()) InvalidateRect(parent_->Handle(), &r, TRUE);
}

}  // namespace kv
