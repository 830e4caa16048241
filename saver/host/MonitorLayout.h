#pragma once
// Where a full-screen run puts its window and its picture when the desktop spans several
// monitors: the window covers them all, the picture plays on the primary one.
#include <vector>

namespace kv {

// A rectangle in screen pixels; right and bottom lie just outside it.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect&) const = default;
};

struct MonitorArea {
    ScreenRect bounds;  // virtual-screen coordinates; the primary monitor starts at (0, 0)
    bool primary = false;
};

struct CoverLayout {
    ScreenRect window;   // screen coordinates: every monitor
    ScreenRect picture;  // the primary monitor, in the window's client coordinates
};

// The window spans all monitors (their bounding box, the virtual screen); the picture goes
// on the primary monitor. Monitors without area are left out; with none left, the layout is
// the fallback screen alone.
CoverLayout CoverAllMonitors(const std::vector<MonitorArea>& monitors, const ScreenRect& fallback);

}  // namespace kv
