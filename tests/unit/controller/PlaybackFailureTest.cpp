#include "tests/unit/controller/FakePlayback.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using Names = std::vector<std::string>;

TEST(controller_MissingFiles, AMissingMiddleEntrySendsPlaybackBackToTheFirst) {
    PlaybackRig rig;
    rig.view.missing = {PlaybackRig::kTwo};
    rig.controller.PlayClick();
    rig.controller.EndOfStream();
    EXPECT_EQ(rig.Opens(), (Names{"one.avi", "one.avi"}));
    EXPECT_EQ(rig.controller.State.CurrentIndex, 0);
}

TEST(controller_MissingFiles, WithEveryFileMissingNothingPlaysNothingFailsAndLittleIsTried) {
    for (bool configuration : {false, true}) {
        PlaybackRig rig;
        rig.view.configuration = configuration;
        rig.view.missing = {PlaybackRig::kOne, PlaybackRig::kTwo, PlaybackRig::kThree};
        rig.controller.State.CurrentIndex = 1;
        EXPECT_NO_THROW(rig.controller.PlayClick());
        EXPECT_LE(rig.view.existenceChecks, 3);
        rig.view.existenceChecks = 0;
        EXPECT_NO_THROW(rig.controller.EndOfStream());
        EXPECT_LE(rig.view.existenceChecks, 2);
        EXPECT_EQ(rig.player.opens, 0);
        EXPECT_FALSE(rig.controller.State.IsPlaying);
        EXPECT_EQ(rig.controller.State.CurrentIndex, 0);
    }
}

TEST(controller_MissingFiles, PlayOnAMissingCurrentFileRunsTheAdvanceAndLeavesTheToggleOff) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.view.missing = {PlaybackRig::kOne};
    rig.controller.PlayClick();
    EXPECT_EQ(rig.Opens(), (Names{"two.mpg"}));
    EXPECT_FALSE(rig.controller.State.IsPlaying);
    EXPECT_EQ(rig.log.front(), "PauseImage");
}

// Outside configuration mode an error box would sit unseen under the top-most saver window.
TEST(controller_BrokenFiles, AFileThatCannotPlayIsSkippedLikeAMissingOne) {
    PlaybackRig rig;
    rig.player.broken = {PlaybackRig::kTwo};
    rig.controller.PlayClick();
    EXPECT_NO_THROW(rig.controller.EndOfStream());
    EXPECT_EQ(rig.Opens(), (Names{"one.avi", "two.mpg", "one.avi"}));
    EXPECT_EQ(rig.controller.State.CurrentIndex, 0);
    EXPECT_EQ(rig.player.openFile, PlaybackRig::kOne);
}

TEST(controller_BrokenFiles, WithEveryFileBrokenNothingPlaysAndTheWorkIsBounded) {
    PlaybackRig rig;
    rig.player.broken = {PlaybackRig::kOne, PlaybackRig::kTwo, PlaybackRig::kThree};
    rig.controller.State.SavedFileName = PlaybackRig::kOne;
    EXPECT_NO_THROW(rig.controller.PlayClick());
    EXPECT_LE(rig.player.opens, 3);
    for (int end = 0; end < 3; ++end) {
        int before = rig.player.opens;
        EXPECT_NO_THROW(rig.controller.EndOfStream());
        EXPECT_LE(rig.player.opens - before, 2);
    }
    EXPECT_FALSE(rig.controller.State.IsPlaying);
    EXPECT_TRUE(rig.player.openFile.empty());
}

TEST(controller_BrokenFiles, ABrokenRememberedFileMovesOnToTheNextEntryWithoutResuming) {
    PlaybackRig rig;
    PlaybackState& state = rig.controller.State;
    state.CurrentIndex = 1;
    state.SavedFileName = PlaybackRig::kTwo;
    state.SavedPosition = 42;
    rig.player.broken = {PlaybackRig::kTwo};
    rig.controller.PlayClick();
    EXPECT_EQ(rig.Opens(), (Names{"two.mpg", "three.wmv"}));
    EXPECT_EQ(state.CurrentIndex, 2);
    EXPECT_FALSE(state.IsPlaying);
    for (const std::string& entry : rig.log) EXPECT_NE(entry, "Position 42");
}

TEST(controller_BrokenFiles, ABrokenFirstEntryIsTriedOnlyOnce) {
    PlaybackRig rig;
    rig.player.broken = {PlaybackRig::kOne};
    rig.controller.PlayClick();  // no resume record: the advance starts at the first entry
    EXPECT_EQ(rig.Opens(), (Names{"one.avi"}));
}

TEST(controller_Failures, ConfigurationModePlayStaysSilentAboutAFileThatCannotPlay) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.player.broken = {PlaybackRig::kOne};
    EXPECT_NO_THROW(rig.controller.PlayClick());
    EXPECT_EQ(rig.Opens(), (Names{"one.avi"}));
    EXPECT_FALSE(rig.controller.State.IsPlaying);
}

TEST(controller_Failures, ConfigurationModeReportsAnAdvanceToAFileThatCannotPlay) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.player.broken = {PlaybackRig::kTwo};
    EXPECT_THROW(rig.controller.EndOfStream(), std::exception);
    EXPECT_EQ(rig.Opens(), (Names{"two.mpg"}));
}

TEST(controller_Failures, PlayerFailuresReachTheCallerOnlyInConfigurationMode) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.player.failing = true;
    EXPECT_THROW(rig.controller.StopClick(), std::exception);
    EXPECT_THROW(rig.controller.EndOfStream(), std::exception);
    EXPECT_THROW(rig.controller.TimerTick(), std::exception);
    EXPECT_THROW(rig.controller.SeekBy(10), std::exception);
    EXPECT_NO_THROW(rig.controller.ProgressClick(100));
    EXPECT_NO_THROW(rig.controller.PlayClick());
    rig.controller.State.IsPlaying = true;
    EXPECT_THROW(rig.controller.PlayClick(), std::exception);  // the pause half

    rig.view.configuration = false;
    EXPECT_NO_THROW(rig.controller.PlayClick());
    EXPECT_NO_THROW(rig.controller.StopClick());
    EXPECT_NO_THROW(rig.controller.EndOfStream());
    EXPECT_NO_THROW(rig.controller.TimerTick());
    EXPECT_NO_THROW(rig.controller.SeekBy(10));
    EXPECT_NO_THROW(rig.controller.ProgressClick(100));
}

}  // namespace
}  // namespace kv::test
