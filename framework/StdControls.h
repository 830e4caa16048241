#pragma once
// The standard controls the programs' layouts use.
#include <string>

#include "framework/Control.h"

namespace kv {

// Base of panels drawn by us; a plain panel is a Panel, other panel kinds derive from this.
class CustomPanel : public WinControl {
public:
    CustomPanel(Component* owner, const ControlArgs& args) : WinControl(owner, args) {}

protected:
    // What a panel draws depends on its size: a new size repaints all of it, not only the
    // strip that was added.
    void OnSize(int width, int height) override { Invalidate(); }
};

class Panel : public CustomPanel {
public:
    Panel(Component* owner, const ControlArgs& args) : CustomPanel(owner, args) {}
};

// Text drawn by the parent; no window of its own.
class Label : public GraphicControl {
public:
    struct Options {
        bool transparent = true;
        bool autoSize = false;
        bool handCursor = false;
        bool wordWrap = false;  // lines break between words to stay within the width
    };
    Label(Component* owner, const ControlArgs& args, const Options& options);
    Label(Component* owner, const ControlArgs& args) : Label(owner, args, Options{}) {}
    void Paint(HDC dc) override;
    HCURSOR Cursor() const override;

protected:
    void CaptionChanged() override;
    void FontChanged() override;

private:
    void AdjustSize();
    Options options_;
};

// A window of the BUTTON class: its click runs the click handler.
class ButtonControl : public WinControl {
public:
    ButtonControl(Component* owner, const ControlArgs& args, DWORD style)
        : WinControl(owner, args, {.className = L"BUTTON", .style = style}) {}
    bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // Enter presses a focused push button; a check box or radio button takes Space only.
    virtual bool PressedByEnter() const { return false; }

protected:
    bool IsChecked() const;
};

class Button : public ButtonControl {
public:
    Button(Component* owner, const ControlArgs& args) : ButtonControl(owner, args, WS_TABSTOP | BS_PUSHBUTTON) {}
    bool PressedByEnter() const override { return true; }
};

// A flat button that draws a picture (normal and disabled state side by side) and its caption.
class SpeedButton : public ButtonControl {
public:
    SpeedButton(Component* owner, const ControlArgs& args);
    // numGlyphs is how many states stand side by side in the picture.
    void SetGlyph(ScopedBitmap glyph, int numGlyphs = 2);
    // Takes ownership of the bitmap.
    void SetGlyph(HBITMAP glyph, int numGlyphs = 2) { SetGlyph(ScopedBitmap(glyph), numGlyphs); }
    HBITMAP Glyph() const { return glyph_.Get(); }
    // Shows a copy of another button's picture, which is this button's own from then on.
    void CopyGlyphFrom(const SpeedButton& other);
    bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool PressedByEnter() const override { return true; }

private:
    void Draw(const DRAWITEMSTRUCT& item);
    ScopedBitmap glyph_;
    int numGlyphs_ = 1;
};

class CheckBox : public ButtonControl {
public:
    CheckBox(Component* owner, const ControlArgs& args) : ButtonControl(owner, args, WS_TABSTOP | BS_AUTOCHECKBOX) {}
    bool Checked() const { return IsChecked(); }
    // Runs the click handler when the state changes.
    void SetChecked(bool checked);
};

// Radio buttons with the same parent form one group.
class RadioButton : public ButtonControl {
public:
    RadioButton(Component* owner, const ControlArgs& args) : ButtonControl(owner, args, WS_TABSTOP | BS_RADIOBUTTON) {}
    bool Checked() const { return IsChecked(); }
    // Selecting clears the others of the group; the click handler runs when the state changes.
    void SetChecked(bool checked);
    bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class ListBox : public WinControl {
public:
    struct Options {
        bool multiSelect = false;
        bool border = true;
        int itemHeight = 0;
    };
    ListBox(Component* owner, const ControlArgs& args, const Options& options);
    ListBox(Component* owner, const ControlArgs& args) : ListBox(owner, args, Options{}) {}

    int Count() const;
    void Add(const std::wstring& item);
    void Delete(int index);
    void Clear();
    std::wstring Item(int index) const;
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelectedCount() const;
    int ItemIndex() const;  // the focused entry (caret) or the selection
    void SetItemIndex(int index);
    // Many additions at once without a repaint for each.
    void BeginUpdate();
    void EndUpdate();
    bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    bool multiSelect_;
};

// A frame with a caption around other controls; drawn by us.
class GroupBox : public WinControl {
public:
    GroupBox(Component* owner, const ControlArgs& args) : WinControl(owner, args) {}

protected:
    void Paint(HDC dc, const RECT& client) override;
};

class ProgressBar : public WinControl {
public:
    ProgressBar(Component* owner, const ControlArgs& args, bool smooth = true);
    int Max() const { return max_; }
    int Min() const { return min_; }
    void SetMax(int max);
    void SetRange(int min, int max);
    // The bar keeps the position within its range.
    int Position() const;
    void SetPosition(int position);
    void SetBarColor(COLORREF color);

private:
    int min_ = 0, max_ = 100;
};

// A periodic timer on the GUI thread.
class Timer : public Component, private WindowTarget {
public:
    Timer(Component* owner, std::string name, unsigned intervalMs, bool enabled = true);
    ~Timer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    NotifyEvent OnTimer;

private:
    LRESULT HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
    void Update();
    HWND window_ = nullptr;
    unsigned interval_;
    bool enabled_;
};

}  // namespace kv
