#include "saver/player/MediaTime.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(player_MediaTime, UnitsOfAHundredNanosecondsBecomeSeconds) {
    EXPECT_DOUBLE_EQ(SecondsFromMediaTime(30'000'000), 3.0);
    EXPECT_DOUBLE_EQ(SecondsFromMediaTime(400'000), 0.04);
    EXPECT_DOUBLE_EQ(SecondsFromMediaTime(0), 0.0);
}

TEST(player_MediaTime, SecondsBecomeTheNearestUnit) {
    EXPECT_EQ(MediaTimeFromSeconds(1.5), 15'000'000);
    EXPECT_EQ(MediaTimeFromSeconds(0.00000004), 0);
    EXPECT_EQ(MediaTimeFromSeconds(0.00000006), 1);
    EXPECT_EQ(MediaTimeFromSeconds(SecondsFromMediaTime(123'456'789)), 123'456'789);
}

TEST(player_MediaTime, NegativeAndNotANumberSeekToTheStart) {
    EXPECT_EQ(MediaTimeFromSeconds(-10), 0);
    EXPECT_EQ(MediaTimeFromSeconds(std::nan("")), 0);
    EXPECT_EQ(MediaTimeFromSeconds(-std::numeric_limits<double>::infinity()), 0);
}

TEST(player_MediaTime, HugeTargetsSaturate) {
    EXPECT_EQ(MediaTimeFromSeconds(1e300), INT64_MAX);
    EXPECT_EQ(MediaTimeFromSeconds(std::numeric_limits<double>::infinity()), INT64_MAX);
}

}  // namespace
}  // namespace kv
