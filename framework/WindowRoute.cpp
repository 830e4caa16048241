#include "framework/WindowRoute.h"

namespace kv {
namespace {

WindowTarget* StoredTarget(HWND hwnd) { return reinterpret_cast<WindowTarget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

}  // namespace

void SetWindowTarget(HWND hwnd, WindowTarget* target) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
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
    if (!hwnd) return nullptr;
    // Another process's window or another procedure may keep anything in its user data.
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&FrameworkWindowProc)) return nullptr;
    return StoredTarget(hwnd);
}

}  // namespace kv
