#include "saver/host/MonitorLayout.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

const ScreenRect kFallback{0, 0, 800, 600};

MonitorArea Monitor(int left, int top, int right, int bottom, bool primary = false) {
    return MonitorArea{ScreenRect{left, top, right, bottom}, primary};
}

void ExpectLayout(const CoverLayout& got, ScreenRect window, ScreenRect picture) {
    EXPECT_EQ(got.window, window);
    EXPECT_EQ(got.picture, picture);
}

TEST(CoverAllMonitors, OneMonitorIsBothTheWindowAndThePicture) {
    ExpectLayout(CoverAllMonitors({Monitor(0, 0, 1024, 768, true)}, kFallback), {0, 0, 1024, 768}, {0, 0, 1024, 768});
}

TEST(CoverAllMonitors, TheWindowSpansEveryMonitorAndThePictureStaysOnThePrimary) {
    // Right of the primary.
    ExpectLayout(CoverAllMonitors({Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 2048, 768)}, kFallback),
                 {0, 0, 2048, 768}, {0, 0, 1024, 768});
    // Left of the primary, taller, listed first: negative coordinates move the picture right.
    ExpectLayout(CoverAllMonitors({Monitor(-1280, -256, 0, 768), Monitor(0, 0, 1024, 768, true)}, kFallback),
                 {-1280, -256, 1024, 768}, {1280, 256, 2304, 1024});
    // Above the primary.
    ExpectLayout(CoverAllMonitors({Monitor(0, 0, 1920, 1080, true), Monitor(0, -1080, 1920, 0)}, kFallback),
                 {0, -1080, 1920, 1080}, {0, 1080, 1920, 2160});
}

TEST(CoverAllMonitors, WithoutAPrimaryFlagThePictureGoesToTheMonitorAtTheOriginElseTheFirst) {
    ExpectLayout(CoverAllMonitors({Monitor(-800, 0, 0, 600), Monitor(0, 0, 1024, 768)}, kFallback),
                 {-800, 0, 1024, 768}, {800, 0, 1824, 768});
    ExpectLayout(CoverAllMonitors({Monitor(100, 0, 900, 600), Monitor(900, 0, 1700, 600)}, kFallback),
                 {100, 0, 1700, 600}, {0, 0, 800, 600});
}

TEST(CoverAllMonitors, MonitorsWithoutAreaAreLeftOutAndNoneLeftMeansTheFallbackScreen) {
    ExpectLayout(CoverAllMonitors({Monitor(0, 0, 1024, 768, true), Monitor(5000, 0, 5000, 768)}, kFallback),
                 {0, 0, 1024, 768}, {0, 0, 1024, 768});
    ExpectLayout(CoverAllMonitors({}, kFallback), kFallback, kFallback);
    ExpectLayout(CoverAllMonitors({Monitor(0, 0, 0, 0, true)}, kFallback), kFallback, kFallback);
}

}  // namespace
}  // namespace kv
