#include <windowsx.h>

#include <algorithm>

#include "framework/Application.h"
#include "framework/Control.h"
#include "framework/Exception.h"
#include "framework/Text.h"

namespace kv {
namespace {

const wchar_t kControlClass[] = L"KVControl";

}  // namespace

WinControl::WinControl(Component* owner, const ControlArgs& args, const WindowClassArgs& window)
    : Control(owner, args), className_(window.className) {
    // A form passes no parent and makes its top-level window itself.
    if (args.parent) {
        parent_ = args.parent;
        parent_->AddChild(this);
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | window.style;
        if (visible_) style |= WS_VISIBLE;
        if (!enabled_) style |= WS_DISABLED;
        // Tab reaches the controls inside ours (panels, group boxes) as well.
        const DWORD exStyle = window.exStyle | (window.className ? 0 : WS_EX_CONTROLPARENT);
        CreateHandle(parent_->Handle(), style, exStyle);
    }
}

WinControl::~WinControl() {
    // Children are components of the form and are freed by it; only detach them here.
    for (Control* c : controls_) c->DetachFromParent();
    controls_.clear();
    if (hwnd_) DestroyWindow(std::exchange(hwnd_, nullptr));
}

void WinControl::CreateHandle(HWND parentOrOwner, DWORD style, DWORD exStyle) {
    const wchar_t* cls = className_;
    if (!cls) {
        RegisterWindowClass({.name = kControlClass, .style = CS_DBLCLKS, .arrowCursor = true, .programIcon = true});
        cls = kControlClass;
    }
    WindowTarget* target = className_ ? nullptr : this;
    HWND h = CreateWindowExW(exStyle, cls, caption_.c_str(), style, left_, top_, width_, height_,
                             parentOrOwner, nullptr, GetModuleHandleW(nullptr), target);
    if (!h) throw Exception("Cannot create window: " + SystemErrorText(GetLastError()));
    if (className_) {
        hwnd_ = h;
        originalProc_ = RouteWindow(h, this);
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
}

WinControl* WinControl::FromHandle(HWND hwnd) { return dynamic_cast<WinControl*>(TargetOf(hwnd)); }

void WinControl::AddChild(Control* c) { controls_.push_back(c); }

void WinControl::RemoveChild(Control* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

void WinControl::SetParent(WinControl* parent) {
    Control::SetParent(parent);
    if (hwnd_ && parent_) {
        ::SetParent(hwnd_, parent_->Handle());
        if (align_ != Align::None) parent_->Realign();
    }
}

void WinControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

void WinControl::BringToFront() {
    if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WinControl::Realign() {
    if (!hwnd_) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int width = std::max(0, int(rc.right) - padding_.left - padding_.right);
    const int height = std::max(0, int(rc.bottom) - padding_.top - padding_.bottom);
    for (Control* c : controls_)
        if (c->GetAlign() == Align::Client) c->SetBounds(padding_.left, padding_.top, width, height);
}

void WinControl::SetPadding(const Padding& padding) {
    padding_ = padding;
    Realign();
}

void WinControl::SetFocus() {
    if (hwnd_) ::SetFocus(hwnd_);
}

void WinControl::Repaint() {
    if (hwnd_) {
        InvalidateRect(hwnd_, nullptr, TRUE);
        UpdateWindow(hwnd_);
    }
}

void WinControl::Invalidate() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void WinControl::ScaleBy(int m, int d) {
    std::vector<Control*> children = controls_;
    Control::ScaleBy(m, d);
    for (Control* c : children) c->ScaleBy(m, d);
}

void WinControl::BoundsChanged() {
    if (hwnd_) SetWindowPos(hwnd_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::VisibleChanged() {
    if (hwnd_) ShowWindow(hwnd_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void WinControl::CaptionChanged() {
    if (hwnd_) SetWindowTextW(hwnd_, caption_.c_str());
}

void WinControl::FontChanged() {
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
}

void WinControl::Paint(HDC dc, const RECT& client) {
    ScopedGdiObject brush = SolidBrush(color_);
    FillRect(dc, &client, static_cast<HBRUSH>(brush.Get()));
}

LRESULT WinControl::ControlColors(HDC dc) {
    SetTextColor(dc, ResolveColor(font_.color));
    SetBkColor(dc, ResolveColor(color_));
    return reinterpret_cast<LRESULT>(ColorBrush());
}

HBRUSH WinControl::ColorBrush() {
    if (!colorBrush_ || brushColor_ != color_) {
        colorBrush_ = SolidBrush(color_);
        brushColor_ = color_;
    }
    return static_cast<HBRUSH>(colorBrush_.Get());
}

void WinControl::PaintGraphicChildren(HDC dc) {
    for (Control* c : controls_) {
        auto* g = dynamic_cast<GraphicControl*>(c);
        if (g && g->Visible()) g->Paint(dc);
    }
}

GraphicControl* WinControl::GraphicAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        auto* g = dynamic_cast<GraphicControl*>(*it);
        if (g && g->Visible() && x >= g->Left() && x < g->Left() + g->Width() && y >= g->Top() &&
            y < g->Top() + g->Height())
            return g;
    }
    return nullptr;
}

}  // namespace kv
