#pragma once
// Shows the hint of each control as a tooltip while the mouse rests on it.
#include <windows.h>

#include "framework/Component.h"

namespace kv {

class WinControl;

class HintTips : public Component {
public:
    // Registers every windowed control under root (root included) that has a hint.
    HintTips(Component* owner, WinControl& root);
    HWND Handle() const { return window_; }

private:
    void AddTree(WinControl& control);
    // Owned by the root's form window, so it goes with that window.
    HWND window_ = nullptr;
};

}  // namespace kv
