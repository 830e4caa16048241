// How a WinControl answers its window's messages: the cracker and the default handlers.
#include <windowsx.h>

#include "framework/Application.h"
#include "framework/Control.h"

namespace kv {
namespace {

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

bool IsControlMessage(UINT msg) {
    return msg == WM_DRAWITEM || msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN || msg == WM_CTLCOLORLISTBOX ||
           msg == WM_CTLCOLOREDIT;
}

}  // namespace

LRESULT WinControl::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) hwnd_ = hwnd;
    if (msg == WM_NCDESTROY) return Destroyed(hwnd, wp, lp);
    return Dispatch(msg, wp, lp);
}

LRESULT WinControl::Destroyed(HWND hwnd, WPARAM wp, LPARAM lp) {
    // The hook hears of the end too, as a subclass would.
    if (MessageHook hook = messageHook_) {
        LRESULT ignored = 0;
        Application.Guard([&] { hook(WM_NCDESTROY, wp, lp, ignored); });
    }
    hwnd_ = nullptr;
    if (!originalProc_) return DefWindowProcW(hwnd, WM_NCDESTROY, wp, lp);
    WNDPROC original = std::exchange(originalProc_, nullptr);
    UnrouteWindow(hwnd, original);
    return CallWindowProcW(original, hwnd, WM_NCDESTROY, wp, lp);
}

// No exception crosses the window procedure: a failed handler is reported and the message
// gets its default handling.
LRESULT WinControl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    HWND self = hwnd_;
    bool ok = Application.Guard([&] {
        // A copy: the hook may remove itself.
        if (MessageHook hook = messageHook_; hook && hook(msg, wp, lp, result)) return;
        result = WndProc(msg, wp, lp);
    });
    if (!ok && self && IsWindow(self)) result = DefaultProc(msg, wp, lp);
    return result;
}

LRESULT WinControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return originalProc_ ? CallWindowProcW(originalProc_, hwnd_, msg, wp, lp) : DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT WinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case WM_COMMAND: if (OnCommand(wp, lp, result)) return result; break;
    case WM_NOTIFY: if (OnNotify(*reinterpret_cast<NMHDR*>(lp), wp, lp, result)) return result; break;
    case WM_ERASEBKGND: if (OnEraseBackground(reinterpret_cast<HDC>(wp))) return 1; break;
    case WM_PAINT: if (OnPaint()) return 0; break;
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(wp, lp);
    case WM_SIZE: OnSize(LOWORD(lp), HIWORD(lp)); break;
    case WM_TIMER: if (OnTimer(wp)) return 0; break;
    case WM_MOUSEMOVE: OnMouseMotion(MouseShiftState(wp), x, y); break;
    case WM_LBUTTONDOWN: OnMouseButtonDown(MouseButton::Left, MouseShiftState(wp), x, y); break;
    case WM_RBUTTONDOWN: OnMouseButtonDown(MouseButton::Right, MouseShiftState(wp), x, y); break;
    case WM_MBUTTONDOWN: OnMouseButtonDown(MouseButton::Middle, MouseShiftState(wp), x, y); break;
    case WM_LBUTTONUP: if (OnLeftButtonUp(x, y)) return 0; break;
    case WM_LBUTTONDBLCLK: OnLeftDoubleClick(); break;
    case WM_SETCURSOR: if (OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE; break;
    case WM_KEYDOWN: if (OnKeyPressed(WORD(wp))) return 0; break;
    default:
        if (IsControlMessage(msg)) {
            HWND child = msg == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem : reinterpret_cast<HWND>(lp);
            if (OnControlMessage(child, msg, wp, lp, result)) return result;
        }
        break;
    }
    return DefaultProc(msg, wp, lp);
}

bool WinControl::ReflectToChild(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!child || child == hwnd_) return false;
    WinControl* control = FromHandle(child);
    return control && control->Reflect(msg, wp, lp, result);
}

bool WinControl::OnCommand(WPARAM wp, LPARAM lp, LRESULT& result) {
    return ReflectToChild(reinterpret_cast<HWND>(lp), WM_COMMAND, wp, lp, result);
}

bool WinControl::OnNotify(const NMHDR& header, WPARAM wp, LPARAM lp, LRESULT& result) {
    return ReflectToChild(header.hwndFrom, WM_NOTIFY, wp, lp, result);
}

bool WinControl::OnControlMessage(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!child || child == hwnd_) return false;
    if (ReflectToChild(child, msg, wp, lp, result)) return true;
    if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return false;
    // Standard children take this window's background colour, for their text and the rest.
    SetBkColor(reinterpret_cast<HDC>(wp), ResolveColor(color_));
    result = reinterpret_cast<LRESULT>(ColorBrush());
    return true;
}

// Our own class paints everything in WM_PAINT; a standard control erases as it always does.
bool WinControl::OnEraseBackground(HDC) { return !originalProc_; }

bool WinControl::OnPaint() {
    if (originalProc_) return false;
    ScopedPaint paint(hwnd_);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    Paint(paint.Get(), rc);
    PaintGraphicChildren(paint.Get());
    return true;
}

LRESULT WinControl::OnWindowPosChanged(WPARAM wp, LPARAM lp) {
    const auto& pos = *reinterpret_cast<WINDOWPOS*>(lp);
    if (!(pos.flags & SWP_NOSIZE) || !(pos.flags & SWP_NOMOVE)) {
        RECT r;
        GetWindowRect(hwnd_, &r);
        HWND p = GetParent(hwnd_);
        if (p && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD)) MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&r), 2);
        left_ = r.left, top_ = r.top, width_ = r.right - r.left, height_ = r.bottom - r.top;
    }
    const bool sized = !(pos.flags & SWP_NOSIZE);
    LRESULT result = DefaultProc(WM_WINDOWPOSCHANGED, wp, lp);
    if (sized) Realign();
    return result;
}

// A click on a graphic child (a label) is that child's click.
bool WinControl::OnLeftButtonUp(int x, int y) {
    GraphicControl* g = GraphicAt(x, y);
    if (g) g->DoClick();
    return g != nullptr;
}

void WinControl::OnLeftDoubleClick() {
    if (OnDblClick && !originalProc_) Application.Guard([&] { OnDblClick(); });
}

bool WinControl::OnSetCursor(HWND window, UINT hitTest) {
    if (window != hwnd_ || hitTest != HTCLIENT) return false;
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(hwnd_, &pt);
    GraphicControl* g = GraphicAt(pt.x, pt.y);
    if (!g || !g->Cursor()) return false;
    SetCursor(g->Cursor());
    return true;
}

// True when the key handler took the key (set it to 0).
bool WinControl::OnKeyPressed(WORD key) {
    if (!OnKeyDown) return false;
    Application.Guard([&] { OnKeyDown(key, KeyboardShiftState()); });
    return key == 0;
}

}  // namespace kv
