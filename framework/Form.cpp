#include "framework/Form.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/StdControls.h"
#include "framework/Text.h"

namespace kv {

Form::Form(Component* owner, const FormArgs& a)
    : WinControl(owner, ControlArgs{.name = a.name, .visible = false, .caption = a.caption, .font = a.font, .color = a.color}),
      borderStyle_(a.borderStyle), formStyle_(a.formStyle), position_(a.position),
      keyPreview_(a.keyPreview), dialogKeys_(a.dialogKeys), minimizeBox_(a.minimizeBox), maximizeBox_(a.maximizeBox) {
    RECT r{0, 0, a.clientWidth, a.clientHeight};
    AdjustWindowRectEx(&r, StyleFor(borderStyle_), FALSE, ExStyleFor(borderStyle_));
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    HWND ownerWindow = a.ownerWindow ? a.ownerWindow : Application.Handle();
    CreateHandle(ownerWindow, StyleFor(borderStyle_), ExStyleFor(borderStyle_));
    if (formStyle_ == FormStyle::StayOnTop) SetFormStyle(formStyle_);
    if (position_ == FormPosition::ScreenCenter) CenterOnScreen();
}

Form::~Form() {
    Application.ForgetForm(this);
    // Components go first, while the form and its window are still whole.
    DestroyComponents();
}

void Form::AfterConstruction() {
    std::vector<Component*> comps = Components();
    for (Component* c : comps) c->Loaded();
    if (OnCreate) Application.Guard([&] { OnCreate(); });
}

DWORD Form::StyleFor(BorderStyle b) const {
    DWORD s = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    switch (b) {
    case BorderStyle::None: return s | WS_POPUP;
    case BorderStyle::Dialog: return s | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    case BorderStyle::Single:
        return s | WS_CAPTION | WS_SYSMENU | (minimizeBox_ ? WS_MINIMIZEBOX : 0) | (maximizeBox_ ? WS_MAXIMIZEBOX : 0);
    case BorderStyle::Sizeable:
        return s | WS_OVERLAPPEDWINDOW;
    }
    return s;
}

DWORD Form::ExStyleFor(BorderStyle b) const {
    DWORD ex = formStyle_ == FormStyle::StayOnTop ? WS_EX_TOPMOST : 0;
    if (b == BorderStyle::Dialog) ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    return ex;
}

int Form::ClientWidth() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.right;
}

int Form::ClientHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.bottom;
}

void Form::SetClientSize(int w, int h) {
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

void Form::ApplyStyles() {
    // The client area keeps its size when the frame changes.
    int cw = ClientWidth(), ch = ClientHeight();
    DWORD keep = DWORD(GetWindowLongPtrW(hwnd_, GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED | WS_MAXIMIZE | WS_MINIMIZE);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, LONG_PTR(StyleFor(borderStyle_) | keep));
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, LONG_PTR(ExStyleFor(borderStyle_)));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (windowState_ == WindowState::Maximized && borderStyle_ == BorderStyle::None)
        CoverScreen();
    else
        SetClientSize(cw, ch);
}

void Form::SetBorderStyle(BorderStyle style) {
    borderStyle_ = style;
    if (style == BorderStyle::Dialog) minimizeBox_ = maximizeBox_ = false;
    ApplyStyles();
}

void Form::SetWindowState(WindowState state) {
    windowState_ = state;
    if (state == WindowState::Maximized && borderStyle_ == BorderStyle::None) {
        CoverScreen();
        return;
    }
    if (IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, state == WindowState::Maximized ? SW_MAXIMIZE
                          : state == WindowState::Minimized ? SW_MINIMIZE : SW_RESTORE);
    } else if (state == WindowState::Normal && IsZoomed(hwnd_)) {
        ShowWindow(hwnd_, SW_RESTORE);
        ShowWindow(hwnd_, SW_HIDE);
    }
}

void Form::SetMaximizedBounds(const RECT& bounds) {
    maximizedBounds_ = bounds;
    if (windowState_ == WindowState::Maximized && borderStyle_ == BorderStyle::None) CoverScreen();
}

void Form::CoverScreen() {
    RECT r = maximizedBounds_.value_or(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void Form::SetFormStyle(FormStyle style) {
    formStyle_ = style;
    SetWindowPos(hwnd_, style == FormStyle::StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::SetPosition(FormPosition position) {
    position_ = position;
    if (position_ == FormPosition::ScreenCenter) CenterOnScreen();
}

void Form::CenterOnScreen() {
    if (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD) return;
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    SetBounds((sw - width_) / 2, (sh - height_) / 2, width_, height_);
}

void Form::CenterOnOwner() {
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    RECT o{};
    if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &o)) return CenterOnScreen();
    int x = o.left + (o.right - o.left - width_) / 2, y = o.top + (o.bottom - o.top - height_) / 2;
    // Whole on the screen, also when the owner stands near an edge.
    x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - width_));
    y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - height_));
    SetBounds(x, y, width_, height_);
}

void Form::SetIcon(HICON icon) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Form::ShowForm() {
    if (!shownOnce_ && position_ == FormPosition::ScreenCenter && windowState_ == WindowState::Normal)
        CenterOnScreen();
    if (!shownOnce_ && position_ == FormPosition::OwnerCenter && windowState_ == WindowState::Normal)
        CenterOnOwner();
    shownOnce_ = true;
    visible_ = true;
    VisibleChanged();
}

void Form::VisibleChanged() {
    if (!visible_) {
        ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    bool child = (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD) != 0;
    if (windowState_ == WindowState::Maximized && borderStyle_ != BorderStyle::None && !child)
        ShowWindow(hwnd_, SW_SHOWMAXIMIZED);
    else
        ShowWindow(hwnd_, child ? SW_SHOWNA : SW_SHOWNORMAL);
    // The show itself may have made the window a child of another (a hook that embeds it).
    child = (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD) != 0;
    if (!child && IsWindowVisible(hwnd_)) {
        if (formStyle_ == FormStyle::StayOnTop) SetFormStyle(formStyle_);
        SetForegroundWindow(hwnd_);
    }
}

void Form::BoundsChanged() {
    if (hwnd_) SetWindowPos(hwnd_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ScaleBy(int m, int d) {
    if (d == 0) return;
    std::vector<Control*> children = controls_;
    FontSpec f = font_;
    f.height = std::max(1, MulDiv(f.height, m, d));
    SetFont(f);
    for (Control* c : children) c->ScaleBy(m, d);
}

void Form::Close() {
    bool canClose = true;
    if (OnCloseQuery && !Application.Guard([&] { OnCloseQuery(canClose); })) return;
    if (!canClose) return;
    CloseAction action = this == Application.MainForm() ? CloseAction::Free : CloseAction::Hide;
    if (OnClose) Application.Guard([&] { OnClose(action); });
    if (action == CloseAction::None) return;
    if (this == Application.MainForm()) {
        Application.Terminate();
        return;
    }
    Hide();
    if (action == CloseAction::Free) Application.ReleaseForm(this);
}

void Form::DoKeyDown(WORD& key) {
    if (OnFormKeyDown) Application.Guard([&] { OnFormKeyDown(key, KeyboardShiftState()); });
}

bool Form::DoMouseWheel(int delta) {
    bool handled = false;
    if (OnMouseWheel) Application.Guard([&] { OnMouseWheel(KeyboardShiftState(), delta, handled); });
    return handled;
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_MOUSEWHEEL:
        if (DoMouseWheel(GET_WHEEL_DELTA_WPARAM(wp))) return 0;
        break;
    case WM_SHOWWINDOW:
        visible_ = wp != 0;
        break;
    case WM_ACTIVATE:
        if (KeepFocusAcrossActivation(wp)) return 0;
        break;
    case WM_DISPLAYCHANGE:
        if (OnDisplayChange) Application.Guard([&] { OnDisplayChange(); });
        break;
    default:
        break;
    }
    return WinControl::WndProc(msg, wp, lp);
}

// Enter and Escape as IsDialogMessage passes them on: IDOK or IDCANCEL without a control.
// Our controls carry no identifiers, so their own notifications never look like these.
bool Form::OnCommand(WPARAM wp, LPARAM lp, LRESULT& result) {
    if (lp != 0 || HIWORD(wp) != 0 || (LOWORD(wp) != IDOK && LOWORD(wp) != IDCANCEL))
        return WinControl::OnCommand(wp, lp, result);
    if (LOWORD(wp) == IDCANCEL) {
        PressButton(cancelButton_);
    } else {
        auto* focused = dynamic_cast<ButtonControl*>(FromHandle(GetFocus()));
        if (focused && focused->PressedByEnter()) PressButton(focused);
    }
    result = 0;
    return true;
}

// As a click would, without moving the focus there.
void Form::PressButton(WinControl* button) {
    if (button && button->Handle() && IsWindowVisible(button->Handle()) && IsWindowEnabled(button->Handle()))
        button->DoClick();
}

// As a dialog does, the keyboard goes back to the control that had it when the window was
// left; the default handling would give it to the window itself.
bool Form::KeepFocusAcrossActivation(WPARAM wp) {
    if (!dialogKeys_) return false;
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return false;
    }
    if (HIWORD(wp) || !lastFocus_ || !IsChild(hwnd_, lastFocus_) || !IsWindowVisible(lastFocus_) ||
        !IsWindowEnabled(lastFocus_))
        return false;
    ::SetFocus(lastFocus_);
    return true;
}

}  // namespace kv
