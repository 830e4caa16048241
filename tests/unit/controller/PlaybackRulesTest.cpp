#include "saver/window/PlaybackRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kv {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(controller_Rounding, HalvesGoToTheEvenNeighbourOnBothSidesOfZero) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfEven(2.4999999), 2);
    EXPECT_EQ(RoundHalfEven(-2.5000001), -3);
    EXPECT_EQ(RoundHalfEven(99.99), 100);
}

TEST(controller_Rounding, ValuesBeyond32BitsSaturateAndNaNGivesZero) {
    EXPECT_EQ(RoundHalfEven(2147483646.5), 2147483646);
    EXPECT_EQ(RoundHalfEven(2147483647.5), kMax);
    EXPECT_EQ(RoundHalfEven(1e300), kMax);
    EXPECT_EQ(RoundHalfEven(-1e300), kMin);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(RoundHalfEven(-std::numeric_limits<double>::infinity()), kMin);
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
    EXPECT_EQ(TruncateToInt32(12.99), 12);
    EXPECT_EQ(TruncateToInt32(-12.99), -12);
    EXPECT_EQ(TruncateToInt32(1e20), kMax);
    EXPECT_EQ(TruncateToInt32(-1e20), kMin);
    EXPECT_EQ(TruncateToInt32(std::nan("")), 0);
}

TEST(controller_Rules, NextIndexWrapsAfterTheLastAndFromOutsideThePlaylist) {
    EXPECT_EQ(NextIndex(0, 3), 1);
    EXPECT_EQ(NextIndex(1, 3), 2);
    EXPECT_EQ(NextIndex(2, 3), 0);
    EXPECT_EQ(NextIndex(-1, 3), 0);
    EXPECT_EQ(NextIndex(7, 3), 0);
    EXPECT_EQ(NextIndex(-9, 3), 0);
    EXPECT_EQ(NextIndex(kMax, 3), 0);
    EXPECT_EQ(NextIndex(kMin, 3), 0);
    EXPECT_EQ(NextIndex(0, 1), 0);
}

TEST(controller_Rules, SeekStaysInsideTheFile) {
    EXPECT_DOUBLE_EQ(SeekTarget(30, 100, 10), 40);
    EXPECT_DOUBLE_EQ(SeekTarget(30, 35, 90), 30);   // past the end: nothing
    EXPECT_DOUBLE_EQ(SeekTarget(30, 35, 5), 35);    // exactly the end is allowed
    EXPECT_DOUBLE_EQ(SeekTarget(30, 35, -90), 0);
    EXPECT_DOUBLE_EQ(SeekTarget(0.5, 0, -10), 0);
    EXPECT_DOUBLE_EQ(SeekTarget(std::nan(""), 35, 10), 0);
}

TEST(controller_Rules, ProgressClickScalesByAFloatRatioAndRoundsHalfToEven) {
    EXPECT_EQ(ProgressClickPosition(195, 100, 390), 50);
    EXPECT_EQ(ProgressClickPosition(390, 100, 390), 100);
    EXPECT_EQ(ProgressClickPosition(0, 100, 390), 0);
    EXPECT_EQ(ProgressClickPosition(500, 100, 390), 128);  // the bar clamps, not the rule
    EXPECT_EQ(ProgressClickPosition(-10, 100, 390), -3);
    EXPECT_EQ(ProgressClickPosition(1, 1, 2), 0);
    EXPECT_EQ(ProgressClickPosition(3, 1, 2), 2);
    // 5 / 390 as a float is a little above the true ratio: 195 lands just past 2.5.
    EXPECT_EQ(ProgressClickPosition(195, 5, 390), 3);
    EXPECT_EQ(ProgressClickPosition(100, 100, 0), std::nullopt);
    EXPECT_EQ(ProgressClickPosition(100, 100, -5), std::nullopt);
}

TEST(controller_Rules, TimerShowsTheVideoFromTwoHundredthsOfASecond) {
    EXPECT_FALSE(DecideTimerTick(0, 60, false, 0).showVideo);
    EXPECT_FALSE(DecideTimerTick(0.019, 60, false, 0).showVideo);
    EXPECT_TRUE(DecideTimerTick(0.02, 60, false, 0).showVideo);
    EXPECT_TRUE(DecideTimerTick(12, 60, false, 0).showVideo);
    EXPECT_FALSE(DecideTimerTick(std::nan(""), 60, false, 0).showVideo);

    TimerDecision decision = DecideTimerTick(12.9, 62.5, false, 0);
    EXPECT_EQ(decision.progressMax, 62);
    EXPECT_EQ(decision.progressPosition, 12);
    EXPECT_EQ(DecideTimerTick(0, 63.5, false, 0).progressMax, 64);
}

TEST(controller_Rules, TheNextFileIsPreparedInTheLastSecondsOnceTheFileHasBegun) {
    EXPECT_FALSE(DecideTimerTick(56.9, 60, false, 0).prepareNext);
    EXPECT_TRUE(DecideTimerTick(57, 60, false, 0).prepareNext);
    // A clip shorter than the lead time, as soon as its picture may show.
    EXPECT_FALSE(DecideTimerTick(0.01, 2, false, 0).prepareNext);
    EXPECT_TRUE(DecideTimerTick(0.02, 2, false, 0).prepareNext);
    EXPECT_FALSE(DecideTimerTick(5, 0, false, 0).prepareNext) << "no length yet";
}

TEST(controller_Rules, DeferredResumeWaitsForAPlayingFileLongerThanTheSavedPosition) {
    EXPECT_TRUE(DecideTimerTick(0.1, 60, true, 40).applyResume);
    EXPECT_FALSE(DecideTimerTick(0.1, 60, false, 40).applyResume);
    EXPECT_FALSE(DecideTimerTick(0, 60, true, 40).applyResume);     // not started yet
    EXPECT_FALSE(DecideTimerTick(0.1, 0, true, 40).applyResume);    // length not known yet
    EXPECT_FALSE(DecideTimerTick(0.1, 40, true, 40).applyResume);   // not longer
    EXPECT_FALSE(DecideTimerTick(0.1, 60, true, std::nan("")).applyResume);
}

}  // namespace
}  // namespace kv
