#pragma once
// What a key or a mouse movement does to a run: seek, nothing, or end it.
#include "framework/ShiftState.h"

namespace kv {

struct KeyAction {
    enum Kind { Seek, Ignore, EndRun } kind;
    int seekSeconds;  // only for Seek
};

// The key rule shared by the seek keys and the end of a run. The caller turns EndRun into
// nothing while the configuration panel is up.
KeyAction DecideKey(int virtualKey, ShiftState shiftState);

// Whether the cursor at (x, y) has left the box of 50 pixels around the start (x0, y0);
// the bounds themselves are inside.
bool MovementEndsRun(int x0, int y0, int x, int y);

}  // namespace kv
