#include "setup/QuestionBox.h"

#include <commctrl.h>

#include "framework/Scoped.h"
#include "framework/Text.h"

namespace kv {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// The box's own procedure comes after ours; the subclass carries no state of its own.
LRESULT CALLBACK BoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    if (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL) {
        EndDialog(box, IDNO);
        return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(box, BoxProc, id);
    return DefSubclassProc(box, msg, wp, lp);
}

// Meets the box as it activates: Escape and the close box then answer No. Subclassing the same
// window again only renews the subclass.
LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
    wchar_t className[16] = {};
    HWND box = reinterpret_cast<HWND>(wp);
    if (code == HCBT_ACTIVATE && GetClassNameW(box, className, 16) && lstrcmpW(className, L"#32770") == 0) {
        SetWindowSubclass(box, BoxProc, kSubclassId, 0);
        EnableMenuItem(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    }
    // The hook handle is not needed here: the system ignores it.
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

bool AskYesNo(HWND owner, const std::string& utf8Text, const std::string& utf8Caption, UINT icon) {
    // For this thread, and only while the question is up.
    ScopedHook hook(SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId()));
    const int answer = MessageBoxW(owner, Widen(utf8Text).c_str(), Widen(utf8Caption).c_str(),
                                   MB_YESNO | MB_DEFBUTTON1 | icon);
    return answer == IDYES;
}

}  // namespace kv
