#include "framework/Application.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "framework/ErrorText.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/Text.h"

namespace kv {

TApplication Application;

namespace {

const wchar_t kApplicationClass[] = L"KVApplication";
// Frees the forms closed while a message was being handled (ReleaseForm).
constexpr UINT kReleaseFormsMessage = WM_APP + 0x3F0;

// The form a window belongs to: the window itself or the nearest ancestor that is a form.
Form* FormOf(HWND hwnd) {
    for (HWND h = hwnd; h; h = GetParent(h))
        if (auto* f = dynamic_cast<Form*>(WinControl::FromHandle(h))) return f;
    return nullptr;
}

}  // namespace

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    // The apartment lasts as long as the program.
    if (!com_) com_.emplace();
    if (handle_) return;
    RegisterWindowClass({.name = kApplicationClass, .programIcon = true});
    // A zero-size top-level window that carries the taskbar entry; forms are owned by it.
    int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExW(0, kApplicationClass, Widen(title_).c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, cx, cy, 0, 0,
                              nullptr, nullptr, GetModuleHandleW(nullptr), static_cast<WindowTarget*>(this));
}

// Closing the taskbar entry closes the main form.
LRESULT TApplication::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kReleaseFormsMessage) {
        for (Form* form : std::exchange(released_, {})) delete form;
        return 0;
    }
    if (msg == WM_CLOSE && mainForm_) {
        PostMessageW(mainForm_->Handle(), WM_CLOSE, 0, 0);
        return 0;
    }
    // The main form hears of the session's end even where it is no top-level window (a preview).
    if (msg == WM_QUERYENDSESSION || msg == WM_ENDSESSION) {
        if (mainForm_) SendMessageW(mainForm_->Handle(), msg, wp, lp);
        return msg == WM_QUERYENDSESSION ? TRUE : 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void TApplication::HideApplicationWindow() {
    applicationWindowHidden_ = true;
    // Hiding a window that was never shown costs nothing; under X a shown one waits for
    // the window manager.
    if (handle_ && IsWindowVisible(handle_)) ShowWindow(handle_, SW_HIDE);
}

void TApplication::SetTitle(const std::string& utf8) {
    title_ = utf8;
    if (handle_) SetWindowTextW(handle_, Widen(title_).c_str());
}

void TApplication::FinishCreation(Form* form) {
    form->AfterConstruction();
}

void TApplication::Run() {
    // The taskbar entry appears with the main form, unless the run asked for none.
    if (handle_ && !applicationWindowHidden_ && !terminated_) ShowWindow(handle_, SW_SHOWNOACTIVATE);
    if (mainForm_ && !terminated_) Guard([&] { mainForm_->ShowForm(); });
    while (!terminated_) HandleMessage();
}

void TApplication::Shutdown() {
    // The components' teardown runs (the screen saver host restores the cursor and the
    // Display Properties window); the top-level windows go with the process. Destroying
    // a shown top-level window would wait for a window manager's answer under X.
    if (Form* main = std::exchange(mainForm_, nullptr)) main->ReleaseComponents();
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::HandleMessage() {
    MSG msg;
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
        terminated_ = true;
        return;
    }
    Dispatch(msg);
}

void TApplication::ProcessMessages() {
    if (!DispatchQueued([this](MSG& msg) { Dispatch(msg); })) terminated_ = true;
}

bool TApplication::PumpUntil(const std::function<bool()>& done, unsigned timeoutMs) {
    const WaitEnd end = PumpMessages([this](MSG& msg) { Dispatch(msg); }, timeoutMs, nullptr, done);
    if (end == WaitEnd::Quit) terminated_ = true;
    return end == WaitEnd::Signalled || (done && done());
}

bool TApplication::QuitRequestQueued() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

void TApplication::Dispatch(MSG& msg) {
    if (PreTranslate(msg) || DialogKey(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

// The dialog keyboard of the form the key is for (Form::DialogKeys). IsDialogMessage
// translates and dispatches what it does not take itself.
bool TApplication::DialogKey(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    Form* form = FormOf(msg.hwnd);
    return form && form->DialogKeys() && IsDialogMessageW(form->Handle(), &msg);
}

bool TApplication::PreTranslate(MSG& msg) {
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        Form* form = FormOf(msg.hwnd);
        if (form && form->KeyPreview()) {
            WORD key = WORD(msg.wParam);
            form->DoKeyDown(key);
            return key == 0;
        }
    } else if (msg.message == WM_MOUSEWHEEL) {
        if (Form* form = FormOf(msg.hwnd)) return form->DoMouseWheel(GET_WHEEL_DELTA_WPARAM(msg.wParam));
    }
    return false;
}

void TApplication::HandleException(const char* message) noexcept {
    LogError(message);
    if (errorBoxes_) ShowErrorBox(message);
}

void TApplication::LogError(const std::string& message) noexcept {
    OutputDebugStringW(Widen(title_ + ": " + message + "\n").c_str());
}

void TApplication::ShowErrorBox(const std::string& message) noexcept {
    HWND owner = GetActiveWindow();
    if (!owner) owner = handle_;
    MessageBoxW(owner, Widen(WithFullStop(message)).c_str(), Widen(title_).c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::ReleaseForm(Form* form) {
    if (std::find(released_.begin(), released_.end(), form) == released_.end()) released_.push_back(form);
    PostMessageW(handle_, kReleaseFormsMessage, 0, 0);
}

void TApplication::ForgetForm(Form* form) {
    released_.erase(std::remove(released_.begin(), released_.end(), form), released_.end());
}

const std::vector<std::string>& TApplication::Arguments() {
    if (!argsRead_) {
        int n = 0;
        LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &n);
        ScopedLocalMemory owned(argv);
        for (int i = 0; i < n; ++i) args_.push_back(Narrow(argv[i]));
        if (!args_.empty()) args_[0] = ExeName();
        argsRead_ = true;
    }
    return args_;
}

std::string TApplication::ParamStr(size_t i) {
    const auto& a = Arguments();
    return i < a.size() ? a[i] : std::string();
}

size_t TApplication::ParamCount() {
    const auto& a = Arguments();
    return a.empty() ? 0 : a.size() - 1;
}

std::string TApplication::ExeName() {
    wchar_t path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    return Narrow(std::wstring(path, n));
}

}  // namespace kv
