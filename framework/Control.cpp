#include "framework/Control.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Text.h"

namespace kv {

LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK SubclassWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

namespace {

const wchar_t kControlClass[] = L"KVControl";
const wchar_t kSelfProp[] = L"kv.control";

void RegisterControlClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FrameworkWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.lpszClassName = kControlClass;
    RegisterClassExW(&wc);
    done = true;
}

ShiftState MouseShiftState(WPARAM wp) {
    ShiftState s;
    s.shift = (wp & MK_SHIFT) != 0;
    s.ctrl = (wp & MK_CONTROL) != 0;
    s.alt = GetKeyState(VK_MENU) < 0;
    s.left = (wp & MK_LBUTTON) != 0;
    s.right = (wp & MK_RBUTTON) != 0;
    s.middle = (wp & MK_MBUTTON) != 0;
    return s;
}

}  // namespace

COLORREF ResolveColor(Color c) {
    return IsSystemColor(c) ? GetSysColor(SystemColorIndex(c)) : COLORREF(c & 0xFFFFFF);
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
        fontHandle_.Reset(CreateFontW(-font_.height, 0, 0, 0, font_.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                      font_.underline, FALSE, font_.charset, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                      font_.name.c_str()));
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

// ---- WinControl ----

// The window procedures find their object in the window's user data, which is read in
// process; a window property, which FromHandle checks for any window, costs a round trip to
// the server under Wine, on every message.
namespace {

WinControl* SelfOf(HWND hwnd) { return reinterpret_cast<WinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void Attach(HWND hwnd, WinControl* self) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetPropW(hwnd, kSelfProp, self);
}

void Detach(HWND hwnd) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    RemovePropW(hwnd, kSelfProp);
}

}  // namespace

LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<WinControl*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        Attach(hwnd, self);
    }
    auto* self = SelfOf(hwnd);
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        Detach(hwnd);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK SubclassWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = SelfOf(hwnd);
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        WNDPROC original = self->originalProc_;
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        Detach(hwnd);
        self->hwnd_ = nullptr;
        return CallWindowProcW(original, hwnd, msg, wp, lp);
    }
    return self->Dispatch(msg, wp, lp);
}

WinControl::WinControl(Component* owner, const ControlArgs& args, const WindowClassArgs& window)
    : Control(owner, args), className_(window.className) {
    if (!IsTopLevel() && args.parent) {
        parent_ = args.parent;
        parent_->AddChild(this);
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | window.style;
        if (visible_) style |= WS_VISIBLE;
        if (!enabled_) style |= WS_DISABLED;
        CreateHandle(parent_->Handle(), style, window.exStyle);
    }
}

WinControl::~WinControl() {
    // Children are components of the form and are freed by it; only detach them here.
    for (Control* c : controls_) c->DetachFromParent();
    controls_.clear();
    if (hwnd_) {
        HWND h = hwnd_;
        DestroyWindow(h);
        hwnd_ = nullptr;
    }
}

void WinControl::CreateHandle(HWND parentOrOwner, DWORD style, DWORD exStyle) {
    const wchar_t* cls = className_;
    if (!cls) {
        RegisterControlClass();
        cls = kControlClass;
    }
    HWND h = CreateWindowExW(exStyle, cls, caption_.c_str(), style, left_, top_, width_, height_,
                             parentOrOwner, nullptr, GetModuleHandleW(nullptr), className_ ? nullptr : this);
    if (!h) throw Exception("Cannot create window: " + SystemErrorText(GetLastError()));
    if (className_) {
        hwnd_ = h;
        Attach(h, this);
        originalProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassWindowProc)));
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
}

WinControl* WinControl::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<WinControl*>(GetPropW(hwnd, kSelfProp)) : nullptr;
}

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
    HBRUSH brush = CreateSolidBrush(ResolveColor(color_));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
}

LRESULT WinControl::ControlColors(HDC dc) {
    SetTextColor(dc, ResolveColor(font_.color));
    SetBkColor(dc, ResolveColor(color_));
    if (!colorBrush_ || brushColor_ != color_) {
        colorBrush_.Reset(CreateSolidBrush(ResolveColor(color_)));
        brushColor_ = color_;
    }
    return reinterpret_cast<LRESULT>(colorBrush_.Get());
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

LRESULT WinControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return originalProc_ ? CallWindowProcW(originalProc_, hwnd_, msg, wp, lp) : DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT WinControl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    HWND self = hwnd_;
    bool ok = Application.Guard([&] { result = WndProc(msg, wp, lp); });
    if (!ok && self && IsWindow(self)) result = DefaultProc(msg, wp, lp);
    return result;
}

LRESULT WinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    HWND about = nullptr;
    switch (msg) {
    case WM_COMMAND: about = reinterpret_cast<HWND>(lp); break;
    case WM_NOTIFY: about = reinterpret_cast<NMHDR*>(lp)->hwndFrom; break;
    case WM_DRAWITEM: about = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem; break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT: about = reinterpret_cast<HWND>(lp); break;
    default: break;
    }
    if (about && about != hwnd_) {
        if (WinControl* child = FromHandle(about)) {
            LRESULT r = 0;
            if (child->Reflect(msg, wp, lp, r)) return r;
        }
        if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
            // Standard children take this window's background colour.
            SetBkColor(reinterpret_cast<HDC>(wp), ResolveColor(color_));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
    }

    switch (msg) {
    case WM_ERASEBKGND:
        if (!originalProc_) return 1;
        break;
    case WM_PAINT:
        if (!originalProc_) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            RECT rc;
            GetClientRect(hwnd_, &rc);
            Paint(dc, rc);
            PaintGraphicChildren(dc);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        auto* wpos = reinterpret_cast<WINDOWPOS*>(lp);
        if (!(wpos->flags & SWP_NOSIZE) || !(wpos->flags & SWP_NOMOVE)) {
            RECT r;
            GetWindowRect(hwnd_, &r);
            HWND p = GetParent(hwnd_);
            if (p && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD)) MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&r), 2);
            left_ = r.left, top_ = r.top, width_ = r.right - r.left, height_ = r.bottom - r.top;
        }
        LRESULT res = DefaultProc(msg, wp, lp);
        if (!(wpos->flags & SWP_NOSIZE)) Realign();
        return res;
    }
    case WM_MOUSEMOVE:
        DoMouseMove(MouseShiftState(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        MouseButton b = msg == WM_LBUTTONDOWN ? MouseButton::Left
                        : msg == WM_RBUTTONDOWN ? MouseButton::Right : MouseButton::Middle;
        DoMouseDown(b, MouseShiftState(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        break;
    }
    case WM_LBUTTONUP:
        if (GraphicControl* g = GraphicAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp))) {
            g->DoClick();
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (OnDblClick && !originalProc_) Application.Guard([&] { OnDblClick(); });
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == hwnd_ && LOWORD(lp) == HTCLIENT) {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(hwnd_, &pt);
            if (GraphicControl* g = GraphicAt(pt.x, pt.y); g && g->Cursor()) {
                SetCursor(g->Cursor());
                return TRUE;
            }
        }
        break;
    case WM_KEYDOWN:
        if (OnKeyDown) {
            WORD key = WORD(wp);
            Application.Guard([&] { OnKeyDown(key, KeyboardShiftState()); });
            if (key == 0) return 0;
        }
        break;
    default:
        break;
    }
    return DefaultProc(msg, wp, lp);
}

}  // namespace kv
