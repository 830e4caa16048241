#pragma once
// The band arithmetic of the gradient fill: which strips of a rectangle get which colour.
// Pure; the gradient panel resolves the colours and paints the strips.
#include <cstdint>
#include <vector>

namespace kv {

enum class TFillDirection : uint8_t { fdTopToBottom = 0, fdBottomToTop = 1, fdLeftToRight = 2, fdRightToLeft = 3 };

// a * b / c rounded to the nearest integer, halves away from zero (as Win32 MulDiv); -1 when c is 0.
int MulDivRound(int a, int b, int c);

// One strip across the rectangle: [from, to) along the fill extent, measured from the top
// (vertical directions) or left edge; rgb is red in the low byte.
struct GradientStrip {
    int from;
    int to;
    uint32_t rgb;
};

struct GradientPlan {
    bool vertical = true;  // strips are rows (true) or columns
    std::vector<GradientStrip> strips;
};

// Strips for a width x height rectangle from startRgb to endRgb in `colours` bands: the first
// band at the top or left edge, the remainder of the extent as one strip in the last band's colour.
GradientPlan PlanGradient(int width, int height, uint32_t startRgb, uint32_t endRgb, TFillDirection direction,
                          int colours);

}  // namespace kv
