#include "framework/HintTips.h"

#include <commctrl.h>

#include "framework/Control.h"
#include "framework/Text.h"

namespace kv {

HintTips::HintTips(Component* owner, WinControl& root) : Component(owner, "HintTips") {
    window_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(root.Handle(), GA_ROOT),
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_) AddTree(root);
}

void HintTips::AddTree(WinControl& control) {
    if (!control.Hint().empty() && control.Handle()) {
        std::wstring text = Widen(control.Hint());
        TOOLINFOW info{};
        // The version 2 size is understood by every common-controls version.
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = GetParent(control.Handle());
        info.uId = reinterpret_cast<UINT_PTR>(control.Handle());
        info.lpszText = text.data();  // the tooltip keeps its own copy
        SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    for (Control* child : control.Controls())
        if (auto* windowed = dynamic_cast<WinControl*>(child)) AddTree(*windowed);
}

}  // namespace kv
