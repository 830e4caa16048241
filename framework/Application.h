#pragma once
// The application object: title, the application window that carries the taskbar entry,
// the message loop with key preview, and the general error report.
#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/MessagePump.h"
#include "framework/Scoped.h"
#include "framework/WindowRoute.h"

namespace kv {

class Form;

class TApplication : private WindowTarget {
public:
    // Common controls, COM apartment, the application window. Call once, first.
    void Initialize();
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& utf8);
    HWND Handle() const { return handle_; }
    // Hides the application window and its taskbar entry for the rest of the run.
    void HideApplicationWindow();

    // Creates a form and runs its creation sequence; the first form becomes the main form.
    template <typename T, typename... Args>
    T* CreateForm(Args&&... args) {
        T* form = new T(nullptr, std::forward<Args>(args)...);
        if (!mainForm_) mainForm_ = form;
        FinishCreation(form);
        return form;
    }
    Form* MainForm() const { return mainForm_; }
    // Shows the main form and handles messages until a quit request arrives.
    void Run();
    // Ends the run: the main form's components are freed (their teardown runs); the
    // windows themselves are left to the end of the process.
    void Shutdown();

    // These loops go through the one message pump (MessagePump.h) with the application's
    // dispatch; a quit request they meet is noted (Terminated) as well.
    // Dispatches every message already in the queue.
    void ProcessMessages();
    // Dispatches messages as they come until done() holds (never, when empty) or timeoutMs
    // has passed; true when done() held. Returns early at a quit request.
    bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs);
    // Waits for one message and dispatches it; the run's own loop.
    void HandleMessage();
    // Handles a message as the loop would (key preview, wheel routing), then dispatches it.
    void Dispatch(MSG& msg);
    // Asks the run to end; the request stays even when another loop takes the quit message.
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Starts afresh after a run ended; for tests that run several in one process.
    void ResetTerminated() { terminated_ = false; }
    // True when a quit request waits in the queue.
    static bool QuitRequestQueued();

    // The boundary where an exception stops: every event the framework raises, the window
    // procedure, the timer and the program entry run through it. What escapes fn goes to the
    // error report. True when nothing escaped.
    template <typename Fn>
    bool Guard(Fn&& fn) noexcept {
        try {
            fn();
            return true;
        } catch (const std::exception& e) {
            HandleException(e.what());
        } catch (...) {
            // Our code throws only std::exception; nothing else may cross a window procedure either.
            HandleException("Unknown error");
        }
        return false;
    }
    // The general error report: the message always goes to the debugger's output
    // (OutputDebugString), and to the user in the error box while the run shows boxes.
    void HandleException(const char* message) noexcept;
    // A run that must show no boxes (the full-screen saver, its preview) turns them off.
    void SetErrorBoxes(bool shown) { errorBoxes_ = shown; }
    // Only to the debugger's output: a failure the program goes on past.
    void LogError(const std::string& message) noexcept;
    // Error icon, one OK button, the application title, a full stop.
    void ShowErrorBox(const std::string& message) noexcept;

    // Frees a closed form once the message being handled is done with it; the form's own
    // window procedure may still be on the stack.
    void ReleaseForm(Form* form);
    // The form is going away by another road: it is not freed a second time.
    void ForgetForm(Form* form);

    // Command line as the platform splits it; index 0 is the program path.
    const std::vector<std::string>& Arguments();
    std::string ParamStr(size_t i);
    size_t ParamCount();
    // Tests replace the command line for an in-process run.
    void SetArguments(std::vector<std::string> args) { args_ = std::move(args); argsRead_ = true; }
    std::string ExeName();

private:
    void FinishCreation(Form* form);
    bool PreTranslate(MSG& msg);
    bool DialogKey(MSG& msg);
    LRESULT HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;

    std::string title_;
    std::optional<ScopedCoInitialize> com_;
    HWND handle_ = nullptr;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    bool errorBoxes_ = true;
    std::vector<Form*> released_;
    bool applicationWindowHidden_ = false;
    bool argsRead_ = false;
    std::vector<std::string> args_;
};

extern TApplication Application;

}  // namespace kv
