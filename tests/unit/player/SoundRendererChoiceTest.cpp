#include "saver/player/SoundRendererChoice.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

constexpr std::uint32_t kMono = 88200;     // 44.1 kHz, 16 bits, one channel
constexpr std::uint32_t kStereo = 176400;  // two channels

TEST(player_SoundRenderer, TheCurrentRendererTakesAnyFormatAtLeastAsLargeAsItsLast) {
    EXPECT_EQ(ChooseSoundRenderer({0}, 0, kMono), 0) << "never connected";
    EXPECT_EQ(ChooseSoundRenderer({kMono}, 0, kMono), 0);
    EXPECT_EQ(ChooseSoundRenderer({kMono}, 0, kStereo), 0);
}

TEST(player_SoundRenderer, ASmallerFormatNeverGoesToARendererThatLastHadALargerOne) {
    EXPECT_EQ(ChooseSoundRenderer({kStereo}, 0, kMono), -1);
    // Among the safe ones, the one whose last format was largest.
    EXPECT_EQ(ChooseSoundRenderer({kStereo, 8000, 22050}, 0, kMono), 2);
}

TEST(player_SoundRenderer, FilesThatAlternateFormatsSettleOnOneRendererEach) {
    std::vector<std::uint32_t> last;
    int current = -1;
    for (int file = 0; file < 12; ++file) {
        std::uint32_t rate = file % 3 == 2 ? kStereo : kMono;
        int chosen = ChooseSoundRenderer(last, current, rate);
        if (chosen < 0) {
            last.push_back(0);
            chosen = int(last.size()) - 1;
        }
        EXPECT_LE(last[chosen], rate) << "file " << file;
        last[chosen] = rate;
        current = chosen;
    }
    EXPECT_EQ(last.size(), 2u);
}

}  // namespace
}  // namespace kv
