#pragma once
// How the windows of our classes reach their objects: one window procedure for every class
// we register and for the standard controls we subclass hands each message to the object
// that the window's user data names. The user data is read in process; a window property
// would cost a round trip to the server under Wine, on every message.
#include <windows.h>

namespace kv {

// The object behind one of our windows.
class WindowTarget {
public:
    // Every message from WM_NCCREATE (or from the subclassing) to WM_NCDESTROY, after which
    // the window names no target any more.
    virtual LRESULT HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) = 0;

protected:
    ~WindowTarget() = default;
};

// The window procedure of every window class of ours. The target comes as CreateWindowEx's
// last parameter.
LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

struct WindowClassSpec {
    const wchar_t* name = nullptr;
    UINT style = 0;
    bool arrowCursor = false;
    bool programIcon = false;  // the program's icon, resource 1
};

// Registers a window class of ours with FrameworkWindowProc; a second call for a name is free.
void RegisterWindowClass(const WindowClassSpec& args);

// Sends the messages of a window of ours to another target (none when null) from now on.
void SetWindowTarget(HWND hwnd, WindowTarget* target);

// Sends the messages of an existing window (a standard control) to target from now on;
// returns the window procedure it had, which target's default handling calls.
WNDPROC RouteWindow(HWND hwnd, WindowTarget* target);
// Gives a routed window its procedure back; the window names no target any more.
void UnrouteWindow(HWND hwnd, WNDPROC original);

// The target of a window of this process that goes through FrameworkWindowProc; null for
// every other window.
WindowTarget* TargetOf(HWND hwnd);

}  // namespace kv
