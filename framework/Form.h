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
    void VisibleChanged() override;
    void BoundsChanged() override;
    bool IsTopLevel() const override { return true; }

private:
    DWORD StyleFor(BorderStyle b) const;
    DWORD ExStyleFor(BorderStyle b) const;
    void ApplyStyles();
    void CenterOnScreen();
    void CenterOnOwner();
    void CoverScreen();

    BorderStyle borderStyle_;
    WindowState windowState_ = WindowState::Normal;
    FormStyle formStyle_;
    FormPosition position_;
    bool keyPreview_;
    bool minimizeBox_, maximizeBox_;
    bool shownOnce_ = false;
    std::optional<RECT> maximizedBounds_;
};

}  // namespace kv
