#include "framework/StdControls.h"

#include <commctrl.h>

#include <utility>

#include "framework/Application.h"
#include "framework/Exception.h"

namespace kv {

// ---- Label ----

Label::Label(Component* owner, const ControlArgs& args, const Options& options)
    : GraphicControl(owner, args), options_(options) {
    AdjustSize();
}

void Label::AdjustSize() {
    if (!options_.autoSize || !parent_ || !parent_->Handle()) return;
    ScopedGetDC dc(parent_->Handle());
    ScopedSelectObject font(dc.Get(), FontHandle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.Get(), caption_.c_str(), int(caption_.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    SetBounds(left_, top_, r.right, r.bottom);
}

void Label::CaptionChanged() {
    AdjustSize();
    Invalidate();
}

void Label::FontChanged() {
    AdjustSize();
    Invalidate();
}

void Label::Paint(HDC dc) {
    RECT r = BoundsRect();
    if (!options_.transparent) {
        ScopedGdiObject brush = SolidBrush(color_);
        FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
    }
    ScopedSelectObject font(dc, FontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled_ ? ResolveColor(font_.color) : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption_.c_str(), int(caption_.size()), &r,
              DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS | (options_.wordWrap ? DT_WORDBREAK : 0));
}

HCURSOR Label::Cursor() const { return options_.handCursor ? LoadCursor(nullptr, IDC_HAND) : nullptr; }

// ---- ButtonControl ----

bool ButtonControl::IsChecked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool ButtonControl::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        DoClick();
        result = 0;
        return true;
    }
    return false;
}

// ---- SpeedButton ----

SpeedButton::SpeedButton(Component* owner, const ControlArgs& args)
    : ButtonControl(owner, args, WS_TABSTOP | BS_OWNERDRAW) {}

void SpeedButton::SetGlyph(ScopedBitmap glyph, int numGlyphs) {
    glyph_ = std::move(glyph);
    numGlyphs_ = numGlyphs < 1 ? 1 : numGlyphs;
    Invalidate();
}

void SpeedButton::CopyGlyphFrom(const SpeedButton& other) {
    HANDLE copy = other.Glyph() ? CopyImage(other.Glyph(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION) : nullptr;
    SetGlyph(ScopedBitmap(static_cast<HBITMAP>(copy)), other.numGlyphs_);
}

bool SpeedButton::Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // A quick second click on a flat button is a click too.
    if (msg == WM_COMMAND && HIWORD(wp) == BN_DOUBLECLICKED) return ButtonControl::Reflect(msg, MAKEWPARAM(LOWORD(wp), BN_CLICKED), lp, result);
    if (msg == WM_DRAWITEM) {
        Draw(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }
    return ButtonControl::Reflect(msg, wp, lp, result);
}

void SpeedButton::Draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    if (pressed) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    int textLeft = r.left;
    if (HBITMAP glyph = Glyph()) {
        BITMAP bm{};
        GetObjectW(glyph, sizeof(bm), &bm);
        int gw = bm.bmWidth / numGlyphs_, gh = bm.bmHeight;
        int state = disabled && numGlyphs_ > 1 ? 1 : 0;
        bool withText = !caption_.empty();
        int x = withText ? r.left + 4 : r.left + (r.right - r.left - gw) / 2;
        int y = r.top + (r.bottom - r.top - gh) / 2;
        if (pressed) ++x, ++y;
        ScopedMemoryDC mem(dc);
        ScopedSelectObject sel(mem.Get(), glyph);
        // The bottom-left pixel is the transparent colour, as button pictures have it.
        COLORREF key = GetPixel(mem.Get(), state * gw, gh - 1);
        TransparentBlt(dc, x, y, gw, gh, mem.Get(), state * gw, 0, gw, gh, key);
        textLeft = x + gw + 2;
    }
    if (!caption_.empty()) {
        ScopedSelectObject font(dc, FontHandle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : ResolveColor(font_.color));
        RECT tr{textLeft, r.top, r.right - 2, r.bottom};
        if (pressed) OffsetRect(&tr, 1, 1);
        UINT align = Glyph() ? DT_LEFT : DT_CENTER;
        DrawTextW(dc, caption_.c_str(), int(caption_.size()), &tr, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    // The keyboard's place, where the system shows focus rectangles.
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
}

// ---- CheckBox ----

void CheckBox::SetChecked(bool checked) {
    if (Checked() == checked) return;
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    DoClick();
}

// ---- RadioButton ----

void RadioButton::SetChecked(bool checked) {
    if (Checked() == checked) return;
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked && parent_) {
        for (Control* c : parent_->Controls())
            if (auto* other = dynamic_cast<RadioButton*>(c); other && other != this)
                SendMessageW(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
    DoClick();
}

bool RadioButton::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        SetChecked(true);
        result = 0;
        return true;
    }
    if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
        result = ControlColors(reinterpret_cast<HDC>(wp));
        return true;
    }
    return false;
}

// ---- ListBox ----

ListBox::ListBox(Component* owner, const ControlArgs& args, const Options& o)
    : WinControl(owner, args,
                 {.className = L"LISTBOX",
                  .style = DWORD(WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                                 (o.multiSelect ? LBS_EXTENDEDSEL : 0) | (o.border ? WS_BORDER : 0))}),
      multiSelect_(o.multiSelect) {
    if (o.itemHeight > 0) SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, o.itemHeight);
}

int ListBox::Count() const { return int(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)); }

void ListBox::Add(const std::wstring& item) {
    LRESULT r = SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (r == LB_ERR || r == LB_ERRSPACE) throw Exception("List box is out of space");
}

void ListBox::Delete(int index) { SendMessageW(hwnd_, LB_DELETESTRING, WPARAM(index), 0); }

void ListBox::Clear() { SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0); }

std::wstring ListBox::Item(int index) const {
    LRESULT n = SendMessageW(hwnd_, LB_GETTEXTLEN, WPARAM(index), 0);
    if (n == LB_ERR) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    std::wstring s(size_t(n) + 1, L'\0');
    n = SendMessageW(hwnd_, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(n == LB_ERR ? 0 : size_t(n));
    return s;
}

bool ListBox::Selected(int index) const {
    if (!multiSelect_) return ItemIndex() == index;
    return SendMessageW(hwnd_, LB_GETSEL, WPARAM(index), 0) > 0;
}

void ListBox::SetSelected(int index, bool selected) {
    if (multiSelect_)
        SendMessageW(hwnd_, LB_SETSEL, selected, index);
    else
        SendMessageW(hwnd_, LB_SETCURSEL, selected ? WPARAM(index) : WPARAM(-1), 0);
}

int ListBox::SelectedCount() const {
    if (!multiSelect_) return ItemIndex() >= 0 ? 1 : 0;
    LRESULT n = SendMessageW(hwnd_, LB_GETSELCOUNT, 0, 0);
    return n == LB_ERR ? 0 : int(n);
}

int ListBox::ItemIndex() const {
    if (multiSelect_) return int(SendMessageW(hwnd_, LB_GETCARETINDEX, 0, 0));
    return int(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
}

void ListBox::SetItemIndex(int index) {
    if (multiSelect_) {
        SendMessageW(hwnd_, LB_SETSEL, FALSE, -1);
        if (index >= 0) {
            SendMessageW(hwnd_, LB_SETSEL, TRUE, index);
            SendMessageW(hwnd_, LB_SETCARETINDEX, WPARAM(index), FALSE);
        }
    } else {
        SendMessageW(hwnd_, LB_SETCURSEL, WPARAM(index), 0);
    }
}

void ListBox::BeginUpdate() { SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0); }

void ListBox::EndUpdate() {
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool ListBox::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_COMMAND) {
        if (HIWORD(wp) == LBN_SELCHANGE) DoClick();
        if (HIWORD(wp) == LBN_DBLCLK && OnDblClick) Application.Guard([&] { OnDblClick(); });
        result = 0;
        return true;
    }
    if (msg == WM_CTLCOLORLISTBOX) {
        result = ControlColors(reinterpret_cast<HDC>(wp));
        return true;
    }
    return false;
}

// ---- GroupBox ----

void GroupBox::Paint(HDC dc, const RECT& client) {
    WinControl::Paint(dc, client);
    ScopedSelectObject font(dc, FontHandle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT frame = client;
    frame.top += tm.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption_.empty()) {
        SetBkColor(dc, ResolveColor(color_));
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, ResolveColor(font_.color));
        RECT tr{8, 0, client.right - 8, tm.tmHeight};
        std::wstring text = caption_;
        DrawTextW(dc, text.c_str(), int(text.size()), &tr, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
}

// ---- ProgressBar ----

ProgressBar::ProgressBar(Component* owner, const ControlArgs& args, bool smooth)
    : WinControl(owner, args, {.className = PROGRESS_CLASSW, .style = DWORD(smooth ? PBS_SMOOTH : 0)}) {
    SendMessageW(hwnd_, PBM_SETRANGE32, 0, 100);
}

void ProgressBar::SetMax(int max) { SetRange(min_, max); }

void ProgressBar::SetRange(int min, int max) {
    if (min == min_ && max == max_) return;
    min_ = min, max_ = max;
    SendMessageW(hwnd_, PBM_SETRANGE32, WPARAM(min), LPARAM(max));
}

int ProgressBar::Position() const { return int(SendMessageW(hwnd_, PBM_GETPOS, 0, 0)); }

void ProgressBar::SetPosition(int position) {
    position = position < min_ ? min_ : position > max_ ? max_ : position;
    SendMessageW(hwnd_, PBM_SETPOS, WPARAM(position), 0);
}

void ProgressBar::SetBarColor(COLORREF color) { PostMessageW(hwnd_, PBM_SETBARCOLOR, 0, LPARAM(color)); }

// ---- Timer ----

Timer::Timer(Component* owner, std::string name, unsigned intervalMs, bool enabled)
    : Component(owner, std::move(name)), interval_(intervalMs), enabled_(enabled) {
    RegisterWindowClass({.name = L"KVTimer"});
    window_ = CreateWindowExW(0, L"KVTimer", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              static_cast<WindowTarget*>(this));
    Update();
}

Timer::~Timer() {
    if (window_) {
        KillTimer(window_, 1);
        DestroyWindow(window_);
    }
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Update();
}

void Timer::Update() {
    KillTimer(window_, 1);
    if (enabled_ && interval_ > 0) SetTimer(window_, 1, interval_, nullptr);
}

LRESULT Timer::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_TIMER) return DefWindowProcW(hwnd, msg, wp, lp);
    if (enabled_ && OnTimer) Application.Guard([&] { OnTimer(); });
    return 0;
}

}  // namespace kv
