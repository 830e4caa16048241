// A trivial saver for trying displayprops out:
//   /p HANDLE   a window embedded as a disabled 152 x 112 child of HANDLE, the way a saver does it
//   /c:HANDLE   disables HANDLE while a top-level window is open
//   /hang       a window that refuses WM_CLOSE
// Exits with 7 after a close.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace {

bool g_refuseClose = false;

LRESULT CALLBACK FakeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (g_refuseClose) return 0;
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(7);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HWND HandleFrom(const wchar_t* text) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(_wcstoi64(text, nullptr, 10))); }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FakeProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"KinovelaFakeSaver";
    RegisterClassW(&windowClass);

    int argc = __argc;
    wchar_t** argv = __wargv;
    HWND disabled = nullptr;
    HWND window = nullptr;
    if (argc >= 3 && wcscmp(argv[1], L"/p") == 0) {
        HWND preview = HandleFrom(argv[2]);
        window = CreateWindowExW(0, L"KinovelaFakeSaver", L"fake saver", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                 nullptr, instance, nullptr);
        SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(preview, GWL_STYLE) | WS_DISABLED);
        SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(preview, GWL_EXSTYLE));
        SetParent(window, preview);
        SetWindowPos(window, nullptr, 0, 0, 152, 112, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        ShowWindow(window, SW_SHOWNA);
    } else {
        if (argc >= 2 && wcsncmp(argv[1], L"/c:", 3) == 0) {
            disabled = HandleFrom(argv[1] + 3);
            EnableWindow(disabled, FALSE);
        }
        g_refuseClose = argc >= 2 && wcscmp(argv[1], L"/hang") == 0;
        window = CreateWindowExW(0, L"KinovelaFakeSaver", L"fake saver", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                 150, nullptr, nullptr, instance, nullptr);
    }
    if (!window) return 9;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (disabled) EnableWindow(disabled, TRUE);
    return static_cast<int>(msg.wParam);
}
