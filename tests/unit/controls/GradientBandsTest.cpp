// The gradient's bands: count, size, rounding, the remainder strip and the four directions.
#include <gtest/gtest.h>

#include "saver/controls/GradientBands.h"

using namespace kv;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;

struct Case {
    const char* what;
    int width, height;
    uint32_t start, end;
    TFillDirection direction;
    int colours;
    size_t strips;            // bands plus the remainder strip
    int bandSize;             // thickness of the first strip
    uint32_t firstRgb, lastRgb;
    int remainder;            // thickness of the last strip when it is the remainder, else 0
};

const Case kCases[] = {
    {"zero height paints nothing", 40, 0, kWhite, kBlack, TFillDirection::fdTopToBottom, 255, 0, 0, 0, 0, 0},
    {"zero width paints nothing", 0, 40, kWhite, kBlack, TFillDirection::fdLeftToRight, 255, 0, 0, 0, 0, 0},
    {"one row is the remainder in the last colour", 40, 1, kWhite, kBlack, TFillDirection::fdTopToBottom, 255, 1, 1,
     kBlack, kBlack, 1},
    {"175 rows: 175 bands of one pixel, no remainder", 10, 175, kRed, kBlue, TFillDirection::fdTopToBottom, 255, 175,
     1, kRed, kBlue, 0},
    {"600 rows: 255 bands of two and a 90-pixel strip", 10, 600, kRed, kBlue, TFillDirection::fdTopToBottom, 255, 256,
     2, kRed, kBlue, 90},
    {"bottom to top starts with the end colour", 10, 175, kWhite, kBlack, TFillDirection::fdBottomToTop, 255, 175, 1,
     kBlack, kWhite, 0},
    {"left to right bands run across the width", 300, 5, kRed, kBlue, TFillDirection::fdLeftToRight, 255, 256, 1,
     kRed, kBlue, 45},
    {"right to left: the remainder takes the start colour", 300, 5, kRed, kBlue, TFillDirection::fdRightToLeft, 255,
     256, 1, kBlue, kRed, 45},
    {"fewer than two colours fill with the start colour", 10, 50, kRed, kBlue, TFillDirection::fdBottomToTop, 1, 1,
     50, kRed, kRed, 0},
    {"equal colours give one colour", 249, 145, kBlack, kBlack, TFillDirection::fdTopToBottom, 255, 145, 1, kBlack,
     kBlack, 0},
};

TEST(GradientBands, CountSizeColoursAndRemainderFollowTheExtent) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        GradientPlan plan = PlanGradient(c.width, c.height, c.start, c.end, c.direction, c.colours);
        ASSERT_EQ(plan.strips.size(), c.strips);
        if (c.strips == 0) continue;
        int extent = plan.vertical ? c.height : c.width;
        EXPECT_EQ(plan.strips.front().from, 0);
        EXPECT_EQ(plan.strips.front().to - plan.strips.front().from, c.bandSize);
        EXPECT_EQ(plan.strips.front().rgb, c.firstRgb);
        EXPECT_EQ(plan.strips.back().rgb, c.lastRgb);
        EXPECT_EQ(plan.strips.back().to, extent);
        if (c.remainder) EXPECT_EQ(plan.strips.back().to - plan.strips.back().from, c.remainder);
        for (size_t i = 1; i < plan.strips.size(); ++i) EXPECT_EQ(plan.strips[i].from, plan.strips[i - 1].to);
    }
}

TEST(GradientBands, BandColoursRoundHalvesAwayFromZero) {
    // Three bands from 0 to 1 and from 1 to 0: the middle band lies exactly half way.
    GradientPlan up = PlanGradient(1, 3, 0x000000, 0x010101, TFillDirection::fdTopToBottom, 255);
    GradientPlan down = PlanGradient(1, 3, 0x010101, 0x000000, TFillDirection::fdTopToBottom, 255);
    ASSERT_EQ(up.strips.size(), 3u);
    ASSERT_EQ(down.strips.size(), 3u);
    EXPECT_EQ(up.strips[1].rgb, 0x010101u);
    EXPECT_EQ(down.strips[1].rgb, 0x000000u);
    EXPECT_EQ(MulDivRound(-3, 1, 2), -2);
    EXPECT_EQ(MulDivRound(5, 7, 0), -1);
}

}  // namespace
