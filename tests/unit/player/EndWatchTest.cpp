#include "saver/player/EndWatch.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace kv {
namespace {

constexpr double kLength = 3.0;

TEST(player_EndWatch, APositionStandingAtTheEndForOverASecondIsTheEndOnce) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.0, kLength, true, 10000));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 10500));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 11000));  // exactly a second is not yet over it
    EXPECT_TRUE(w.Check(3.0, kLength, true, 11001));
    EXPECT_TRUE(w.Ended());
    EXPECT_FALSE(w.Check(3.0, kLength, true, 12000));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 20000));
}

TEST(player_EndWatch, AClockRunningPastTheEndCountsAsStanding) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.1, kLength, true, 0));
    EXPECT_FALSE(w.Check(3.6, kLength, true, 500));
    EXPECT_TRUE(w.Check(4.2, kLength, true, 1100));
}

TEST(player_EndWatch, PlayingNormallyIsNoStall) {
    EndWatch w;
    for (std::uint32_t t = 0; t <= 3000; t += 100)
        EXPECT_FALSE(w.Check(t / 1000.0 * 0.999, kLength, true, t));
    EXPECT_FALSE(w.Ended());
}

TEST(player_EndWatch, PausedOrStoppedAtTheEndIsNoStall) {
    EndWatch w;
    for (std::uint32_t t = 0; t <= 5000; t += 100) EXPECT_FALSE(w.Check(3.0, kLength, false, t));
    // Playing again starts the second afresh.
    EXPECT_FALSE(w.Check(3.0, kLength, true, 6000));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 6900));
    EXPECT_TRUE(w.Check(3.0, kLength, true, 7100));
}

TEST(player_EndWatch, SeekingBackFromTheEndStartsTheSecondAfresh) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.0, kLength, true, 0));
    EXPECT_FALSE(w.Check(1.0, kLength, true, 800));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 1200));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 2100));
    EXPECT_TRUE(w.Check(3.0, kLength, true, 2300));
}

TEST(player_EndWatch, AnUnknownLengthNeverStalls) {
    EndWatch w;
    EXPECT_FALSE(w.Check(0.0, 0.0, true, 0));
    EXPECT_FALSE(w.Check(5.0, 0.0, true, 5000));
    EXPECT_FALSE(w.Check(5.0, -1.0, true, 9000));
}

TEST(player_EndWatch, TheTickCounterWrappingDoesNotCutTheSecondShort) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.0, kLength, true, 0xFFFFFF00U));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 0x00000100U));  // 512 ms later
    EXPECT_TRUE(w.Check(3.0, kLength, true, 0x00000400U));   // 1280 ms later
}

TEST(player_EndWatch, TheGraphsEndIsReportedOnceAndSilencesTheStallWatch) {
    EndWatch w;
    EXPECT_FALSE(w.Check(3.0, kLength, true, 0));
    EXPECT_TRUE(w.SignalEnd());
    EXPECT_FALSE(w.SignalEnd());
    EXPECT_FALSE(w.Check(3.0, kLength, true, 5000));
}

TEST(player_EndWatch, WithAPictureTheGraphsEndCountsHalfASecondLaterOnceAndSilencesTheStallWatch) {
    EndWatch w;
    EXPECT_FALSE(w.SignalEnd(true, 0xFFFFFF00U));
    EXPECT_TRUE(w.Draining());
    EXPECT_FALSE(w.SignalEnd(true, 0xFFFFFF80U));
    EXPECT_FALSE(w.Check(3.0, kLength, true, 0x00010000U));  // the stall rule waits too
    EXPECT_FALSE(w.Drain(0xFFFFFF00U + EndWatch::kTailHoldMs - 1));
    EXPECT_TRUE(w.Drain(0xFFFFFF00U + EndWatch::kTailHoldMs));  // across the counter's wrap
    EXPECT_TRUE(w.Ended());
    EXPECT_FALSE(w.Drain(0x00100000U));
    EXPECT_FALSE(w.SignalEnd(true, 0x00100000U));
    w.Restart();
    EXPECT_FALSE(w.Draining());
    EXPECT_FALSE(w.Ended());

    // A seek meanwhile: no end yet, until the graph ends the file again.
    EXPECT_FALSE(w.SignalEnd(true, 0));
    w.Seeked();
    EXPECT_FALSE(w.Drain(EndWatch::kTailHoldMs * 2));
    EXPECT_FALSE(w.SignalEnd(true, 5000));
    EXPECT_TRUE(w.Drain(5000 + EndWatch::kTailHoldMs));
}

TEST(player_EndWatch, AStallReportedFirstSilencesALateGraphEnd) {
    EndWatch w;
    w.Check(3.0, kLength, true, 0);
    EXPECT_TRUE(w.Check(3.0, kLength, true, 2000));
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
    EXPECT_TRUE(w.Check(3.0, kLength, true, 1500));
}

}  // namespace
}  // namespace kv
