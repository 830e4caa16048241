#pragma once
// Modifier keys and mouse buttons held during an input event.

namespace kv {

struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool left = false;
    bool right = false;
    bool middle = false;

    // Ctrl held with neither Shift nor Alt.
    bool CtrlAlone() const { return ctrl && !shift && !alt; }
};

enum class MouseButton { Left, Right, Middle };

}  // namespace kv
