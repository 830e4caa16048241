#pragma once
// Visual controls: the common base, windowless (graphic) controls painted by their
// parent, and windowed controls with a window procedure of their own.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/Color.h"
#include "framework/Component.h"
#include "framework/Scoped.h"
#include "framework/ShiftState.h"
#include "framework/WindowRoute.h"

namespace kv {

class WinControl;

struct FontSpec {
    std::wstring name = L"Tahoma";
    int height = 11;  // character height in pixels
    bool bold = false;
    bool underline = false;
    BYTE charset = THAI_CHARSET;
    Color color = clWindowText;
};

enum class Align { None, Client };

// Space kept free inside a control's client area when its client-aligned children are placed.
struct Padding {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Layout data of one control: the fixed values a window's layout gives it.
struct ControlArgs {
    std::string name;
    WinControl* parent = nullptr;
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool enabled = true;
    std::string caption;  // UTF-8
    FontSpec font{};
    Color color = clBtnFace;
    Align align = Align::None;
    std::string hint;
};

using NotifyEvent = std::function<void()>;
using MouseMoveEvent = std::function<void(ShiftState, int x, int y)>;
using MouseButtonEvent = std::function<void(MouseButton, ShiftState, int x, int y)>;
using KeyEvent = std::function<void(WORD& key, ShiftState)>;

COLORREF ResolveColor(Color c);
ScopedGdiObject SolidBrush(Color c);
// A font as spec describes it, pixelHeight pixels tall (its character height).
HFONT CreateFontOf(const FontSpec& spec, int pixelHeight);
ShiftState KeyboardShiftState();

class Control : public Component {
public:
    Control(Component* owner, const ControlArgs& args);
    ~Control() override;

    WinControl* Parent() const { return parent_; }
    virtual void SetParent(WinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    Align GetAlign() const { return align_; }
    void SetAlign(Align align);

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    void SetCaption(const std::string& utf8);
    void SetCaption(const char* utf8) { SetCaption(std::string(utf8)); }

    const FontSpec& Font() const { return font_; }
    void SetFont(const FontSpec& font);
    HFONT FontHandle();
    Color GetColor() const { return color_; }
    void SetColor(Color c);
    const std::string& Hint() const { return hint_; }

    // Scales position, size and font by m / d, and those of every child.
    virtual void ScaleBy(int m, int d);
    virtual void Invalidate();

    MouseMoveEvent OnMouseMove;
    MouseButtonEvent OnMouseDown;
    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    KeyEvent OnKeyDown;

    // Event entry points; the framework calls them with failures routed to the error report.
    void DoClick();
    void DoMouseMove(ShiftState s, int x, int y);
    void DoMouseDown(MouseButton b, ShiftState s, int x, int y);

    // The parent is going away; forget it without touching it.
    void DetachFromParent() { parent_ = nullptr; }

protected:
    virtual void BoundsChanged() {}
    virtual void VisibleChanged() {}
    virtual void CaptionChanged() {}
    virtual void FontChanged() {}
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }

    WinControl* parent_ = nullptr;
    int left_, top_, width_, height_;
    bool visible_;
    bool enabled_;
    Align align_;
    std::wstring caption_;
    FontSpec font_;
    ScopedGdiObject fontHandle_;
    Color color_;
    std::string hint_;
};

// A control without a window of its own; its parent paints it and passes it the mouse.
class GraphicControl : public Control {
public:
    GraphicControl(Component* owner, const ControlArgs& args);
    virtual void Paint(HDC dc) = 0;  // dc origin at the parent's client origin
    void Invalidate() override;
    virtual HCURSOR Cursor() const { return nullptr; }

protected:
    void BoundsChanged() override { Invalidate(); }
    void VisibleChanged() override;
};

struct WindowClassArgs {
    const wchar_t* className = nullptr;  // null: our own window class
    DWORD style = 0;
    DWORD exStyle = 0;
};

// A control with a window. Standard window classes are subclassed so that their mouse,
// key and notification messages reach the framework too. A new control derives from
// WinControl (or CustomPanel when it is a panel drawn by us), overrides Paint for its
// drawing and the On* handlers for the messages it cares about.
class WinControl : public Control, public WindowTarget {
public:
    WinControl(Component* owner, const ControlArgs& args, const WindowClassArgs& window = {});
    ~WinControl() override;

    HWND Handle() const { return hwnd_; }
    // The control of one of our windows; null for any other window.
    static WinControl* FromHandle(HWND hwnd);

    void SetParent(WinControl* parent) override;
    void SetEnabled(bool enabled) override;
    const std::vector<Control*>& Controls() const { return controls_; }
    void BringToFront();
    void Realign();
    const Padding& GetPadding() const { return padding_; }
    void SetPadding(const Padding& padding);
    void SetFocus();
    void Repaint();
    void ScaleBy(int m, int d) override;
    void Invalidate() override;

    // Called by the parent for WM_COMMAND / WM_NOTIFY / WM_DRAWITEM / WM_CTLCOLOR* sent about this control.
    virtual bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }

    // Lets another object see this window's messages before the window's own handlers, as a
    // subclass would (a component that adapts its owner window). It answers true when it
    // handled the message. One at a time; an empty hook removes it.
    using MessageHook = std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>;
    void SetMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }
    bool HasMessageHook() const { return static_cast<bool>(messageHook_); }

    LRESULT HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    // The message cracker: hands each message to its On* handler. Override it only for a
    // message without one (a private WM_APP message), and end with the base's.
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

    // Message handlers. Those that answer return false to let the default procedure run.
    virtual bool OnEraseBackground(HDC dc);
    virtual bool OnPaint();
    virtual void OnSize(int width, int height) {}
    virtual bool OnTimer(UINT_PTR id) { return false; }
    virtual bool OnCommand(WPARAM wp, LPARAM lp, LRESULT& result);
    virtual bool OnNotify(const NMHDR& header, WPARAM wp, LPARAM lp, LRESULT& result);
    // WM_DRAWITEM and WM_CTLCOLOR* about a child: the child's Reflect answers, else the
    // standard children take this window's background colour.
    virtual bool OnControlMessage(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    virtual void OnMouseMotion(ShiftState s, int x, int y) { DoMouseMove(s, x, y); }
    virtual void OnMouseButtonDown(MouseButton b, ShiftState s, int x, int y) { DoMouseDown(b, s, x, y); }
    virtual bool OnLeftButtonUp(int x, int y);
    virtual void OnLeftDoubleClick();
    virtual bool OnSetCursor(HWND window, UINT hitTest);
    // WM_KEYDOWN: true when the OnKeyDown event took the key (set it to 0).
    virtual bool OnKeyPressed(WORD key);

    // Background and own drawing of our own window class; graphic children are drawn after.
    virtual void Paint(HDC dc, const RECT& client);
    void PaintGraphicChildren(HDC dc);
    // A standard control's text and background in this control's font colour and colour;
    // the answer to its WM_CTLCOLOR* message.
    LRESULT ControlColors(HDC dc);
    // A brush of this control's colour, kept until the colour changes.
    HBRUSH ColorBrush();
    void BoundsChanged() override;
    void VisibleChanged() override;
    void CaptionChanged() override;
    void FontChanged() override;
    // Creates the window; a form passes no parent and its owner window.
    void CreateHandle(HWND parentOrOwner, DWORD style, DWORD exStyle);

    HWND hwnd_ = nullptr;
    WNDPROC originalProc_ = nullptr;  // for subclassed standard controls
    const wchar_t* className_;
    std::vector<Control*> controls_;

private:
    ScopedGdiObject colorBrush_;
    Color brushColor_ = 0;
    MessageHook messageHook_;
    Padding padding_{};
    friend class Control;
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Destroyed(HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnWindowPosChanged(WPARAM wp, LPARAM lp);
    bool ReflectToChild(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    GraphicControl* GraphicAt(int x, int y) const;
    void AddChild(Control* c);
    void RemoveChild(Control* c);
};

}  // namespace kv
