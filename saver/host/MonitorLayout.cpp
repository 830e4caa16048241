#include "saver/host/MonitorLayout.h"

#include <algorithm>

namespace kv {
namespace {

bool HoldsOrigin(const ScreenRect& r) { return r.left <= 0 && r.top <= 0 && r.right > 0 && r.bottom > 0; }

// The flagged primary monitor; without a flag, the one at the origin (where Windows keeps the
// primary), else the first.
const ScreenRect& PrimaryOf(const std::vector<ScreenRect>& areas, const std::vector<bool>& flags) {
    for (size_t i = 0; i < areas.size(); ++i)
        if (flags[i]) return areas[i];
    for (const ScreenRect& r : areas)
        if (HoldsOrigin(r)) return r;
    return areas.front();
}

}  // namespace

CoverLayout CoverAllMonitors(const std::vector<MonitorArea>& monitors, const ScreenRect& fallback) {
    std::vector<ScreenRect> areas;
    std::vector<bool> flags;
    for (const MonitorArea& m : monitors) {
        if (m.bounds.Empty()) continue;
        areas.push_back(m.bounds);
        flags.push_back(m.primary);
    }
    if (areas.empty()) return CoverLayout{fallback, ScreenRect{0, 0, fallback.Width(), fallback.Height()}};

    ScreenRect all = areas.front();
    for (const ScreenRect& r : areas) {
        all.left = std::min(all.left, r.left);
        all.top = std::min(all.top, r.top);
        all.right = std::max(all.right, r.right);
        all.bottom = std::max(all.bottom, r.bottom);
    }
    const ScreenRect& primary = PrimaryOf(areas, flags);
    return CoverLayout{all, ScreenRect{primary.left - all.left, primary.top - all.top, primary.right - all.left,
                                       primary.bottom - all.top}};
}

}  // namespace kv
