#include "framework/WindowRoute.h"

#include <unordered_set>

namespace kv {
namespace {

WindowTarget* StoredTarget(HWND hwnd) { return reinterpret_cast<WindowTarget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

// The windows whose user data is ours. Not the window procedure: a subclass put on top of ours
// (the hint control's, for the buttons it watches) leaves the window ours all the same.
// Windows are routed and looked up on the GUI thread only.
std::unordered_set<HWND>& RoutedWindows() {
    static std::unordered_set<HWND> windows;
    return windows;
}

}  // namespace

void SetWindowTarget(HWND hwnd, WindowTarget* target) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
    if (target)
        RoutedWindows().insert(hwnd);
    else
        RoutedWindows().erase(hwnd);
}

LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        SetWindowTarget(hwnd, static_cast<WindowTarget*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    WindowTarget* target = StoredTarget(hwnd);
    if (!target) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) SetWindowTarget(hwnd, nullptr);
    return target->HandleWindowMessage(hwnd, msg, wp, lp);
}

void RegisterWindowClass(const WindowClassSpec& args) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, args.name, &wc)) return;
    wc.style = args.style;
    wc.lpfnWndProc = FrameworkWindowProc;
    wc.hInstance = instance;
    wc.hCursor = args.arrowCursor ? LoadCursor(nullptr, IDC_ARROW) : nullptr;
    wc.hIcon = args.programIcon ? LoadIconW(instance, MAKEINTRESOURCEW(1)) : nullptr;
    wc.lpszClassName = args.name;
    RegisterClassExW(&wc);
}

WNDPROC RouteWindow(HWND hwnd, WindowTarget* target) {
    SetWindowTarget(hwnd, target);
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkWindowProc)));
}

void UnrouteWindow(HWND hwnd, WNDPROC original) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    SetWindowTarget(hwnd, nullptr);
}

WindowTarget* TargetOf(HWND hwnd) {
    // Another process's window or another procedure may keep anything in its user data.
    if (!hwnd || !RoutedWindows().count(hwnd)) return nullptr;
    return StoredTarget(hwnd);
}

}  // namespace kv
