#include "saver/player/EndWatch.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace kv {
namespace {

constexpr double kLength = 3.0;
constexpr std::uint32_t kStall = EndWatch::kStallMs;

TEST(player_EndWatch, APositionStandingAtTheEndPastTheStallTimeIsTheEndOnce) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.0, kLength, true, 10000));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 10000 + kStall / 2));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 10000 + kStall));  // exactly the stall time is not yet over it
    EXPECT_TRUE(w.Check(3.0, kLength, true, 10000 + kStall + 1));
    EXPECT_TRUE(w.Ended());
    EXPECT_FALSE(w.Check(3.0, kLength, true, 20000));
}

// A default-muxed MPEG file plays about 1.2 s past the length its demuxer estimates.
TEST(player_EndWatch, AClockRunningPastTheEndCountsAsStandingOnlyPastTheStallTime) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.1, kLength, true, 0));
    EXPECT_FALSE(w.Check(4.3, kLength, true, 1200));
    EXPECT_FALSE(w.Check(4.5, kLength, true, 1400));
    EXPECT_TRUE(w.Check(6.2, kLength, true, kStall + 100));
}

TEST(player_EndWatch, PlayingNormallyIsNoStall) {
    EndWatch w;
    for (std::uint32_t t = 0; t <= 3000; t += 100)
        EXPECT_FALSE(w.Check(t / 1000.0 * 0.999, kLength, true, t));
    EXPECT_FALSE(w.Ended());
}

TEST(player_EndWatch, PausedOrStoppedAtTheEndIsNoStall) {
    EndWatch w;
    for (std::uint32_t t = 0; t <= 2 * kStall; t += 100) EXPECT_FALSE(w.Check(3.0, kLength, false, t));
    // Playing again starts the wait afresh.
    EXPECT_FALSE(w.Check(3.0, kLength, true, 10000));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 10000 + kStall - 100));
    EXPECT_TRUE(w.Check(3.0, kLength, true, 10000 + kStall + 100));
}

TEST(player_EndWatch, SeekingBackFromTheEndStartsTheWaitAfresh) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.0, kLength, true, 0));
    EXPECT_FALSE(w.Check(1.0, kLength, true, 800));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 1200));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 1200 + kStall));
    EXPECT_TRUE(w.Check(3.0, kLength, true, 1300 + kStall));
}

TEST(player_EndWatch, AnUnknownLengthNeverStalls) {
    EndWatch w;
    EXPECT_FALSE(w.Check(0.0, 0.0, true, 0));
    EXPECT_FALSE(w.Check(5.0, 0.0, true, 5000));
    EXPECT_FALSE(w.Check(5.0, -1.0, true, 9000));
}

TEST(player_EndWatch, TheTickCounterWrappingDoesNotCutTheWaitShort) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.0, kLength, true, 0xFFFFFF00U));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 0x00000100U));  // 512 ms later
    EXPECT_TRUE(w.Check(3.0, kLength, true, 0x00000100U + kStall));
}

TEST(player_EndWatch, TheGraphsEndIsReportedOnceAndSilencesTheStallWatch) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.0, kLength, true, 0));
    EXPECT_TRUE(w.SignalEnd());
    EXPECT_FALSE(w.SignalEnd());
    EXPECT_FALSE(w.Check(3.0, kLength, true, 2 * kStall));
}

TEST(player_EndWatch, AStallReportedFirstSilencesALateGraphEnd) {
    EndWatch w;
    w.Check(3.0, kLength, true, 0);
    EXPECT_TRUE(w.Check(3.0, kLength, true, kStall + 1));
    EXPECT_FALSE(w.SignalEnd());
}

TEST(player_EndWatch, ANewFileCanEndAgain) {
    EndWatch w;
    EXPECT_TRUE(w.SignalEnd());
    w.Restart();
    EXPECT_FALSE(w.Ended());
    EXPECT_TRUE(w.SignalEnd());
    w.Restart();
    w.Check(3.0, kLength, true, 0);
    EXPECT_TRUE(w.Check(3.0, kLength, true, kStall + 1));
}

}  // namespace
}  // namespace kv
