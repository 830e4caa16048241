#include "saver/host/ScreenSaver.h"

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Scoped.h"
#include "framework/StdControls.h"
#include "framework/SystemDirectory.h"
#include "framework/Text.h"
#include "saver/host/DisplayMonitors.h"
#include "saver/host/RunMode.h"

namespace kv {
namespace {

constexpr char kDisplayPropertiesTitle[] = "Display Properties";
constexpr wchar_t kMessageTitle[] = L"Information";
constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;
constexpr int kOffScreenMargin = 100;
constexpr UINT_PTR kPreviewWatchTimer = 0x4B56;
constexpr UINT kPreviewWatchMs = 250;

using VerifyScreenSavePwdFn = BOOL(WINAPI*)(HWND);
using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);

HWND FindDisplayProperties() { return FindWindowA(nullptr, kDisplayPropertiesTitle); }

HWND HandleFrom(int64_t value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); }

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

void SetScreenSaverRunning(bool running) {
    UINT previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

// "ScreenSaveUsePassword" under HKCU\Control Panel\Desktop. A missing key or value, or one
// that is not a 32-bit integer, asks for no password.
bool PasswordWanted() {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return false;
    ScopedKey key(opened);
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(key.Get(), "ScreenSaveUsePassword", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS)
        return false;
    return type == REG_DWORD && size == sizeof value && value != 0;
}

void DisableAndRaiseDisplayProperties() {
    if (HWND properties = FindDisplayProperties()) {
        EnableWindow(properties, FALSE);
        SetForegroundWindow(properties);
    }
}

}  // namespace

TScreenSaver::TScreenSaver(Component* owner, const ScreenSaverArgs& args, std::string name)
    : Component(owner, std::move(name)), args_(args), ownerForm_(dynamic_cast<Form*>(owner)) {
    if (!ownerForm_)
        throw TFormNotOwner("The TScreenSaver Component does not appear to be on a TForm. What are you trying to do?");
    int count = 0;
    for (Component* c : owner->Components())
        if (dynamic_cast<TScreenSaver*>(c)) ++count;
    if (count > 1) throw TDuplicateComponent("Why would you want more than 1 TScreenSaver component on a Form?");
}

TScreenSaver::~TScreenSaver() {
    if (RunModeLetter() == "C")
        if (HWND properties = FindDisplayProperties()) EnableWindow(properties, TRUE);
    if (args_.systemKeysDisabled) SetScreenSaverRunning(false);
    if (args_.autoMouseHide) ShowCursor(TRUE);
    UnhookOwnerWindow();
    if (coversMonitors_) ownerForm_->OnDisplayChange = nullptr;
}

std::string TScreenSaver::RunModeLetter() const { return kv::RunModeLetter(Application.ParamStr(1)); }

void TScreenSaver::ExecuteRunMode() {
    const std::string letter = RunModeLetter();
    if (letter == "P")
        EmbedInPreview();
    else if (letter == "S")
        StartSaver();
    else if (letter == "A")
        ChangePassword();
    else
        ShowConfiguration();
}

void TScreenSaver::OwnerLoaded() {
    Component::Loaded();
    bool panelOnForm = false;
    if (args_.configurationBoxPanel)
        for (Component* c : ownerForm_->Components())
            if (dynamic_cast<Panel*>(c) == args_.configurationBoxPanel) panelOnForm = true;
    if (!panelOnForm) {
        args_.configurationBoxStyle = cbsMessageDlg;
        args_.configurationBoxPanel = nullptr;
    }
    // The preview embedding waits until the window is first shown. A handle that names no
    // window means the preview is already gone: end before any window shows.
    if (RunModeLetter() == "P") {
        auto argument = ParseWindowHandleArgument(Application.ParamStr(2));
        if (args_.previewWindow && argument && *argument != -1 && !IsWindow(HandleFrom(*argument)))
            Application.Terminate();
        else
            HookOwnerWindow();
    }
    else if (args_.autoEnable)
        ExecuteRunMode();
}

void TScreenSaver::EmbedInPreview() {
    if (!args_.previewWindow) return;
    Application.HideApplicationWindow();
    HWND main = ownerForm_->Handle();
    auto argument = ParseWindowHandleArgument(Application.ParamStr(2));
    // A number that names no window would leave a disabled window nobody can reach.
    if (!argument || !main || !IsWindow(HandleFrom(*argument))) return;
    HWND preview = HandleFrom(*argument);

    if (HWND properties = FindDisplayProperties()) SetForegroundWindow(properties);
    SetWindowLongPtrW(main, GWL_STYLE, GetWindowLongPtrW(preview, GWL_STYLE) | WS_DISABLED);
    SetWindowLongPtrW(main, GWL_EXSTYLE, GetWindowLongPtrW(preview, GWL_EXSTYLE));
    ::SetParent(main, preview);
    // The Display control panel destroys its preview window when the user picks another saver
    // or closes it; the preview then ends.
    previewParent_ = preview;
    SetTimer(main, kPreviewWatchTimer, kPreviewWatchMs, nullptr);
    if (args_.autoMaximize)
        ownerForm_->SetBounds(ownerForm_->Left(), ownerForm_->Top(), GetSystemMetrics(SM_CXSCREEN),
                             GetSystemMetrics(SM_CYSCREEN));
    ownerForm_->ScaleBy(kPreviewWidth, ownerForm_->Width());
    ownerForm_->SetBounds(0, 0, kPreviewWidth, kPreviewHeight);
}

void TScreenSaver::ShowConfiguration() {
    if (!args_.configurationBox) return;
    const bool fromDisplayProperties = RunModeLetter() == "C";
    Panel* panel = args_.configurationBoxPanel;
    if (args_.configurationBoxStyle == cbsPanel && panel) {
        // Only plain panels: other panel kinds (the gradient panels) stay as they are.
        for (Component* c : ownerForm_->Components())
            if (auto* other = dynamic_cast<Panel*>(c); other && other->Name() != panel->Name()) other->Hide();
        panel->Show();
        panel->SetBounds(0, 0, panel->Width(), panel->Height());
        panel->BringToFront();
        ownerForm_->SetWindowState(WindowState::Normal);
        ownerForm_->SetClientSize(panel->Width(), panel->Height());
        ownerForm_->SetBorderStyle(BorderStyle::Dialog);
        ownerForm_->SetPosition(FormPosition::ScreenCenter);
        if (fromDisplayProperties) DisableAndRaiseDisplayProperties();
        return;
    }

    if (fromDisplayProperties) DisableAndRaiseDisplayProperties();
    if (ownerForm_->GetWindowState() != WindowState::Normal) ownerForm_->SetWindowState(WindowState::Normal);
    ownerForm_->SetLeft(-ownerForm_->Width() - kOffScreenMargin);
    MessageBoxW(Application.Handle(), Widen(args_.configurationBoxMessage).c_str(), kMessageTitle,
                MB_OK | MB_ICONINFORMATION);
    if (HWND properties = FindDisplayProperties()) SetForegroundWindow(properties);
    Application.Terminate();
}

void TScreenSaver::ChangePassword() {
    if (!args_.passwordSetting) return;
    auto argument = ParseWindowHandleArgument(UpperAscii(Application.ParamStr(2)));
    if (!argument) return;
    ScopedLibrary mpr(LoadSystemLibrary("MPR.DLL"));
    if (!mpr) return;
    if (auto change = EntryPoint<PwdChangePasswordFn>(mpr.Get(), "PwdChangePasswordA"))
        change("SCRSAVE", HandleFrom(*argument), 0, 0);
    mpr.Reset();
    Application.Terminate();
}

void TScreenSaver::StartSaver() {
    if (!args_.mainScreenSaver) return;
    // No taskbar entry while the saver runs.
    Application.HideApplicationWindow();
    if (args_.systemKeysDisabled) SetScreenSaverRunning(true);
    // Borderless and maximised, the window covers every monitor; a window with a frame is
    // maximised by the system onto one monitor.
    if (args_.autoMaximize && args_.autoBorderLess) CoverMonitors();
    if (args_.autoMaximize) ownerForm_->SetWindowState(WindowState::Maximized);
    if (args_.autoBorderLess) ownerForm_->SetBorderStyle(BorderStyle::None);
    if (args_.autoOnTop) ownerForm_->SetFormStyle(FormStyle::StayOnTop);
    if (args_.autoMouseHide) ShowCursor(FALSE);
}

void TScreenSaver::CoverMonitors() {
    const CoverLayout layout = CurrentCoverLayout();
    const ScreenRect& window = layout.window;
    const ScreenRect& picture = layout.picture;
    // Client-aligned children (the player) fill the primary monitor; the rest stays black.
    const Padding before = ownerForm_->GetPadding();
    const Padding after{picture.left, picture.top, window.Width() - picture.right, window.Height() - picture.bottom};
    ownerForm_->SetPadding(after);
    // Controls placed from the client's corner go along with it onto the primary monitor.
    for (Control* c : ownerForm_->Controls())
        if (c->GetAlign() == Align::None)
            c->SetBounds(c->Left() + after.left - before.left, c->Top() + after.top - before.top, c->Width(),
                         c->Height());
    ownerForm_->SetMaximizedBounds(RECT{window.left, window.top, window.right, window.bottom});
    // The teardown unsubscribes.
    if (!coversMonitors_) {
        coversMonitors_ = true;
        ownerForm_->OnDisplayChange = [this] { CoverMonitors(); };
    }
}

bool TScreenSaver::VerifyPassword() {
    HWND foreground = GetForegroundWindow();
    if (args_.autoMouseHide) ShowCursor(TRUE);
    if (RunModeLetter() != "S") return true;
    if (!PasswordWanted()) return true;
    ScopedLibrary library(LoadSystemLibrary("PASSWORD.CPL"));
    if (!library) return true;
    // A library without the check is treated like a missing library.
    auto verify = EntryPoint<VerifyScreenSavePwdFn>(library.Get(), "VerifyScreenSavePwd");
    if (!verify) return true;
    const bool allowed = verify(foreground) != FALSE;
    if (!allowed && args_.autoMouseHide) ShowCursor(FALSE);
    return allowed;
}

void TScreenSaver::HookOwnerWindow() {
    // One hook per window: a second would only replace the first.
    if (!ownerForm_->Handle() || hookedWindow_) return;
    hookedWindow_ = ownerForm_->Handle();
    ownerForm_->SetMessageHook([this](UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
        WindowMessage message{msg, wp, lp, 0};
        OwnerWindowProc(message);
        // The preview watch is ours alone; every other message goes on to the window.
        return msg == WM_TIMER && wp == kPreviewWatchTimer;
    });
}

void TScreenSaver::OwnerWindowProc(WindowMessage& message) {
    if (!hookedWindow_) return;
    if (message.msg == WM_NCDESTROY) {
        // Destroyed with the preview window, or at the end of the run.
        if (previewParent_) Application.Terminate();
        UnhookOwnerWindow();
        return;
    }
    if (message.msg == WM_TIMER && message.wParam == kPreviewWatchTimer) {
        if (previewParent_ && !IsWindow(previewParent_)) Application.Terminate();
        return;
    }
    // Reparenting hides and shows the window again; that inner show must not embed once more.
    if (message.msg == WM_SHOWWINDOW && message.wParam != 0 && args_.autoEnable && !runningFromHook_) {
        runningFromHook_ = true;
        // The host reports no failures: the window shows as it is, and the debugger's output
        // has the reason.
        try {
            ExecuteRunMode();
        } catch (const std::exception& e) {
            Application.LogError(e.what());
        }
        runningFromHook_ = false;
    }
}

void TScreenSaver::UnhookOwnerWindow() {
    if (hookedWindow_) ownerForm_->SetMessageHook(nullptr);
    hookedWindow_ = nullptr;
}

}  // namespace kv
