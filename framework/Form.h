#pragma once
// A top-level window built from fixed layout data. Creation order: the derived class's
// constructor builds the stored layout; then every owned component gets Loaded(); then
// OnCreate runs (see TApplication::CreateForm).
#include <functional>
#include <optional>
#include <string>

#include "framework/Control.h"

namespace kv {

enum class BorderStyle { None, Single, Dialog, Sizeable };
enum class WindowState { Normal, Maximized, Minimized };
enum class FormStyle { Normal, StayOnTop };
enum class FormPosition { Designed, ScreenCenter, OwnerCenter };
enum class CloseAction { None, Hide, Free };

struct FormArgs {
    std::string name;
    std::string caption;
    int clientWidth = 0, clientHeight = 0;
    BorderStyle borderStyle = BorderStyle::Single;
    bool minimizeBox = true;
    bool maximizeBox = false;
    FormPosition position = FormPosition::ScreenCenter;
    FormStyle formStyle = FormStyle::Normal;
    bool keyPreview = false;
    // The dialog keyboard (see DialogKeys).
    bool dialogKeys = true;
    Color color = clBtnFace;
    FontSpec font{};
    HWND ownerWindow = nullptr;  // null: the application window
};

class Form : public WinControl {
public:
    Form(Component* owner, const FormArgs& args);
    ~Form() override;

    void AfterConstruction();

    BorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(BorderStyle style);
    WindowState GetWindowState() const { return windowState_; }
    void SetWindowState(WindowState state);
    // The area a maximised borderless form covers; the primary screen until set.
    void SetMaximizedBounds(const RECT& bounds);
    FormStyle GetFormStyle() const { return formStyle_; }
    void SetFormStyle(FormStyle style);
    void SetPosition(FormPosition position);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool on) { keyPreview_ = on; }
    // The keyboard of a dialog, which the application's message loop gives the form through
    // IsDialogMessage: Tab and Shift+Tab move through the controls in their tab order, Enter
    // presses the focused push button, Space the focused button or check box, a mnemonic its
    // control, Escape the cancel button. Off for a window with key rules of its own.
    bool DialogKeys() const { return dialogKeys_; }
    void SetDialogKeys(bool on) { dialogKeys_ = on; }
    // The button Escape presses; none by default.
    void SetCancelButton(WinControl* button) { cancelButton_ = button; }

    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);
    void SetClientWidth(int w) { SetClientSize(w, ClientHeight()); }
    void SetClientHeight(int h) { SetClientSize(ClientWidth(), h); }
    void SetIcon(HICON icon);

    // Shows the window in its window state and brings it forward.
    void ShowForm();
    // Asks to close: OnCloseQuery decides; the main form's close ends the run.
    void Close();
    void ScaleBy(int m, int d) override;

    void DoKeyDown(WORD& key);
    bool DoMouseWheel(int delta);

    NotifyEvent OnCreate;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void(CloseAction& action)> OnClose;
    KeyEvent OnFormKeyDown;
    std::function<void(ShiftState, int delta, bool& handled)> OnMouseWheel;
    // The display layout changed: a monitor came or went, or a resolution changed.
    NotifyEvent OnDisplayChange;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(WPARAM wp, LPARAM lp, LRESULT& result) override;
    void VisibleChanged() override;
    void BoundsChanged() override;

private:
    DWORD StyleFor(BorderStyle b) const;
    DWORD ExStyleFor(BorderStyle b) const;
    void ApplyStyles();
    void CenterOnScreen();
    void CenterOnOwner();
    void CoverScreen();
    bool KeepFocusAcrossActivation(WPARAM wp);
    void PressButton(WinControl* button);

    BorderStyle borderStyle_;
    WindowState windowState_ = WindowState::Normal;
    FormStyle formStyle_;
    FormPosition position_;
    bool keyPreview_;
    bool dialogKeys_;
    WinControl* cancelButton_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool minimizeBox_, maximizeBox_;
    bool shownOnce_ = false;
    std::optional<RECT> maximizedBounds_;
};

}  // namespace kv
