#include "setup/QuestionBox.h"

#include "framework/Text.h"

namespace kv {
namespace {

// One question at a time on the GUI thread: the hook meets the box as it activates.
HHOOK hook = nullptr;
WNDPROC boxProc = nullptr;

LRESULT CALLBACK BoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL) {
        EndDialog(box, IDNO);
        return 0;
    }
    return CallWindowProcW(boxProc, box, msg, wp, lp);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
    wchar_t className[16] = {};
    HWND box = reinterpret_cast<HWND>(wp);
    if (code == HCBT_ACTIVATE && !boxProc && GetClassNameW(box, className, 16) && lstrcmpW(className, L"#32770") == 0) {
        boxProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(box, GWLP_WNDPROC, LONG_PTR(BoxProc)));
        EnableMenuItem(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    }
    return CallNextHookEx(hook, code, wp, lp);
}

}  // namespace

bool AskYesNo(HWND owner, const std::string& utf8Text, const std::string& utf8Caption, UINT icon) {
    hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxW(owner, Widen(utf8Text).c_str(), Widen(utf8Caption).c_str(),
                                   MB_YESNO | MB_DEFBUTTON1 | icon);
    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
    boxProc = nullptr;
    return answer == IDYES;
}

}  // namespace kv
