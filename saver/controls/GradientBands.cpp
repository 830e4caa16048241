#include "saver/controls/GradientBands.h"

#include <algorithm>
#include <cstdlib>

namespace kv {
namespace {

int Channel(uint32_t rgb, int shift) { return int((rgb >> shift) & 0xFF); }

uint32_t Pack(int r, int g, int b) {
    auto clamp = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return clamp(r) | clamp(g) << 8 | clamp(b) << 16;
}

}  // namespace

int MulDivRound(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t product = int64_t(a) * b;
    int64_t quotient = product / c;
    int64_t rest = product % c;
    // Round the magnitude: a remainder of at least half the divisor goes away from zero.
    if (2 * std::llabs(rest) >= std::llabs(int64_t(c))) quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    return int(quotient);
}

GradientPlan PlanGradient(int width, int height, uint32_t startRgb, uint32_t endRgb, TFillDirection direction,
                          int colours) {
    GradientPlan plan;
    plan.vertical = direction == TFillDirection::fdTopToBottom || direction == TFillDirection::fdBottomToTop;
    if (width <= 0 || height <= 0) return plan;
    int extent = plan.vertical ? height : width;
    if (colours < 2) {
        plan.strips.push_back({0, extent, startRgb & 0xFFFFFF});
        return plan;
    }
    bool forward = direction == TFillDirection::fdTopToBottom || direction == TFillDirection::fdLeftToRight;
    uint32_t first = (forward ? startRgb : endRgb) & 0xFFFFFF;
    uint32_t last = (forward ? endRgb : startRgb) & 0xFFFFFF;
    int dr = Channel(last, 0) - Channel(first, 0);
    int dg = Channel(last, 8) - Channel(first, 8);
    int db = Channel(last, 16) - Channel(first, 16);

    int bands = std::max(2, std::min(colours, extent));
    int bandSize = extent / bands;
    if (bandSize > 0) {
        plan.strips.reserve(size_t(bands) + 1);
        for (int i = 0; i < bands; ++i) {
            uint32_t rgb = Pack(Channel(first, 0) + MulDivRound(i, dr, bands - 1),
                                Channel(first, 8) + MulDivRound(i, dg, bands - 1),
                                Channel(first, 16) + MulDivRound(i, db, bands - 1));
            plan.strips.push_back({i * bandSize, (i + 1) * bandSize, rgb});
        }
    }
    int remainder = extent % bands;
    if (remainder > 0) plan.strips.push_back({extent - remainder, extent, last});
    return plan;
}

}  // namespace kv
