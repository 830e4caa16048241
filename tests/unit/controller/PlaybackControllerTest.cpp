#include "tests/unit/controller/FakePlayback.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kv::test {
namespace {

using Names = std::vector<std::string>;

TEST(controller_Advance, ThreeClipsPlayInTurnAndTheFirstFollowsTheLast) {
    PlaybackRig rig;
    rig.controller.PlayClick();  // full screen, no resume record: the first entry
    rig.Settle();
    for (int end = 0; end < 3; ++end) {
        rig.controller.EndOfStream();
        rig.Settle();
    }
    EXPECT_EQ(rig.Opens(), (Names{"one.avi", "two.mpg", "three.wmv", "one.avi"}));
    EXPECT_EQ(rig.controller.State.CurrentIndex, 0);
}

TEST(controller_Advance, StopsTwiceThenOpensAndTakesTheLengthRoundedHalfToEven) {
    PlaybackRig rig;
    rig.player.durations[PlaybackRig::kTwo] = 12.5;
    rig.player.durations[PlaybackRig::kThree] = 13.5;
    rig.controller.EndOfStream();
    rig.Settle();
    EXPECT_EQ(rig.log, (Log{"Stop", "Stop", "Open C:\\clips\\two.mpg"}));
    EXPECT_EQ(rig.view.progressMax, 12);
    rig.controller.EndOfStream();
    rig.Settle();
    EXPECT_EQ(rig.view.progressMax, 14);
}

TEST(controller_Advance, LeavesTheToggleTheImageAndTheResumeFieldsAlone) {
    PlaybackRig rig;
    PlaybackState& state = rig.controller.State;
    state.IsPlaying = true;
    state.SavedPosition = 7;
    state.ResumePending = true;
    rig.controller.EndOfStream();
    rig.Settle();
    EXPECT_TRUE(state.IsPlaying);
    EXPECT_EQ(state.SavedPosition, 7);
    EXPECT_TRUE(state.ResumePending);
    EXPECT_EQ(rig.log.size(), 3u);  // no image change among the player calls
}

TEST(controller_Advance, AnIndexLeftOutsideThePlaylistStartsTheFirstAndAnEmptyListNothing) {
    PlaybackRig rig;
    for (int32_t index : {3, 5, -4}) {
        rig.controller.State.CurrentIndex = index;
        rig.controller.EndOfStream();
        rig.Settle();
        EXPECT_EQ(rig.controller.State.CurrentIndex, 0) << index;
    }
    EXPECT_EQ(rig.Opens(), (Names{"one.avi", "one.avi", "one.avi"}));
    rig.log.clear();
    rig.view.playlist.clear();
    rig.controller.EndOfStream();
    EXPECT_TRUE(rig.log.empty());
}

TEST(controller_Play, OnAnEmptyPlaylistOnlyTheImageChanges) {
    for (bool configuration : {false, true}) {
        PlaybackRig rig;
        rig.view.configuration = configuration;
        rig.view.playlist.clear();
        rig.controller.PlayClick();
        EXPECT_EQ(rig.log, (Log{"PauseImage"}));
        EXPECT_FALSE(rig.controller.State.IsPlaying);
    }
}

TEST(controller_Play, WithTheIndexBeyondTheEndStopsAndAttachesButOpensNothing) {
    PlaybackRig rig;
    rig.controller.State.CurrentIndex = 3;
    rig.controller.PlayClick();
    EXPECT_EQ(rig.log, (Log{"PauseImage", "Hide", "Stop"}));

    PlaybackRig configured;
    configured.view.configuration = true;
    configured.controller.State.CurrentIndex = 3;
    configured.controller.PlayClick();
    EXPECT_EQ(configured.log, (Log{"PauseImage", "Hide", "Stop", "Attach"}));
    EXPECT_FALSE(configured.controller.State.IsPlaying);
}

TEST(controller_Play, FullScreenResumesTheRememberedFileAtItsPositionAfterTheWait) {
    PlaybackRig rig;
    PlaybackState& state = rig.controller.State;
    state.CurrentIndex = 1;
    state.SavedFileName = PlaybackRig::kTwo;
    state.SavedPosition = 42;
    rig.controller.PlayClick();
    rig.Answer();
    rig.player.position = 0.3;
    rig.controller.TimerTick();  // the picture stays hidden until the file is at its place
    rig.Settle();
    rig.controller.TimerTick();
    EXPECT_EQ(rig.log, (Log{"PauseImage", "Hide", "Stop", "Open C:\\clips\\two.mpg", "ResumeWait", "Hide",
                            "Position 42", "Show"}));
    EXPECT_TRUE(state.IsPlaying);
}

TEST(controller_Play, FullScreenWithAnotherRememberedFileStartsTheFirstAndTheTimerMovesIt) {
    PlaybackRig rig;
    PlaybackState& state = rig.controller.State;
    state.CurrentIndex = 1;
    state.SavedFileName = L"C:\\clips\\TWO.MPG";  // the comparison keeps case
    state.SavedPosition = 42;
    state.ResumePending = true;
    rig.controller.PlayClick();
    rig.Settle();
    EXPECT_EQ(rig.Opens(), (Names{"one.avi"}));
    EXPECT_EQ(state.CurrentIndex, 0);
    EXPECT_FALSE(state.IsPlaying);
    EXPECT_EQ(rig.player.position, 0);

    rig.controller.TimerTick();  // not begun yet
    EXPECT_TRUE(state.ResumePending);
    rig.player.position = 0.3;
    rig.controller.TimerTick();
    EXPECT_EQ(rig.player.position, 42);
    EXPECT_FALSE(state.ResumePending);
    rig.player.position = 50;
    rig.controller.TimerTick();
    EXPECT_EQ(rig.player.position, 50);  // once only
}

TEST(controller_Play, TheDeferredResumeWaitsWhileTheFileIsNoLongerThanTheSavedPosition) {
    PlaybackRig rig;
    rig.player.durations[PlaybackRig::kOne] = 30;
    rig.controller.State.SavedPosition = 42;
    rig.controller.State.ResumePending = true;
    rig.controller.PlayClick();
    rig.Settle();
    rig.player.position = 1;
    rig.controller.TimerTick();
    EXPECT_EQ(rig.player.position, 1);
    EXPECT_TRUE(rig.controller.State.ResumePending);
}

TEST(controller_Play, ConfigurationModePlaysTheCurrentEntryInThePreviewAtTheSavedPosition) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.controller.State.CurrentIndex = 2;
    rig.controller.State.SavedPosition = 5;
    rig.controller.PlayClick();
    rig.Settle();
    EXPECT_EQ(rig.log, (Log{"PauseImage", "Hide", "Stop", "Attach", "Open C:\\clips\\three.wmv",
                            "Show", "ResumeWait", "Position 5"}));
    EXPECT_TRUE(rig.controller.State.IsPlaying);
}

TEST(controller_Play, ASecondClickPausesAndRemembersThePosition) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.controller.PlayClick();
    rig.Settle();
    rig.player.position = 50.5;
    rig.log.clear();
    rig.controller.PlayClick();
    EXPECT_EQ(rig.log, (Log{"Pause", "PlayImage"}));
    EXPECT_FALSE(rig.controller.State.IsPlaying);
    EXPECT_EQ(rig.controller.State.SavedPosition, 50.5);
}

TEST(controller_Play, StopThenPlayReopensAtTheLastPause) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.controller.PlayClick();
    rig.Settle();
    rig.player.position = 42;
    rig.controller.PlayClick();
    rig.log.clear();
    rig.controller.StopClick();
    EXPECT_EQ(rig.log, (Log{"Position 0", "Pause", "Hide", "Repaint"}));
    EXPECT_FALSE(rig.controller.State.IsPlaying);
    EXPECT_EQ(rig.controller.State.SavedPosition, 42);
    rig.log.clear();
    rig.controller.PlayClick();
    rig.Settle();
    EXPECT_EQ(rig.Opens(), (Names{"one.avi"}));
    EXPECT_EQ(rig.log.back(), "Position 42");
}

TEST(controller_Timer, HidesTheVideoBelowTwoHundredthsOfASecondAndShowsItAfter) {
    PlaybackRig rig;
    for (double position : {0.0, 0.019, 0.02, 7.0}) {
        rig.player.position = position;
        rig.log.clear();
        rig.controller.TimerTick();
        EXPECT_EQ(rig.log, (Log{position < 0.02 ? "Hide" : "Show"})) << position;
    }
}

TEST(controller_Timer, InItsLastSecondsAFileNamesWhatTheAdvanceOpensNextOnce) {
    for (bool secondMissing : {false, true}) {
        PlaybackRig rig;
        if (secondMissing) rig.view.missing = {PlaybackRig::kTwo};
        rig.player.durations[PlaybackRig::kOne] = 10;
        rig.controller.PlayClick();
        rig.Settle();
        for (double position : {0.0, 5.0, 7.5, 8.0, 9.9}) {
            rig.player.position = position;
            rig.controller.TimerTick();
        }
        ASSERT_EQ(rig.player.prepared.size(), 1u) << secondMissing;
        rig.controller.EndOfStream();
        rig.Settle();
        EXPECT_EQ(rig.player.prepared[0], rig.player.openFile) << secondMissing;
        // The next file prepares its own successor.
        rig.player.position = 59;
        rig.controller.TimerTick();
        EXPECT_EQ(rig.player.prepared.size(), 2u);
    }
}

TEST(controller_Timer, ATickWhileAFileOpensLeavesItsSuccessorToBePrepared) {
    PlaybackRig rig;
    rig.player.durations[PlaybackRig::kOne] = 10;
    rig.controller.PlayClick();
    rig.Settle();
    rig.player.position = 9.9;
    rig.controller.EndOfStream();
    rig.controller.TimerTick();  // the next file opens: nothing of the old one is read
    rig.Settle();
    rig.player.position = 59;
    rig.controller.TimerTick();
    EXPECT_EQ(rig.player.prepared, (std::vector<std::wstring>{PlaybackRig::kThree}));
}

TEST(controller_Timer, KeepsTheBarInStepWithTheFile) {
    PlaybackRig rig;
    rig.player.duration = 62.5;
    rig.player.position = 12.9;
    rig.controller.TimerTick();
    EXPECT_EQ(rig.view.progressMax, 62);
    EXPECT_EQ(rig.view.progressPosition, 12);
    rig.player.duration = 63.5;
    rig.controller.TimerTick();
    EXPECT_EQ(rig.view.progressMax, 64);
}

TEST(controller_Seek, KeypadNinePastTheEndDoesNothingAndCtrlKeypadNineGoesToTheStart) {
    PlaybackRig rig;
    rig.player.duration = 35;
    rig.player.position = 30;
    rig.controller.SeekBy(90);
    EXPECT_EQ(rig.player.position, 30);
    EXPECT_EQ(rig.view.progressPosition, 30);
    rig.controller.SeekBy(-90);
    EXPECT_EQ(rig.player.position, 0);
    EXPECT_EQ(rig.view.progressPosition, 0);
}

TEST(controller_Seek, TheBarFollowsThePositionRoundedHalfToEven) {
    PlaybackRig rig;
    rig.player.duration = 100;
    rig.player.position = 13.5;
    rig.controller.SeekBy(10);
    EXPECT_EQ(rig.player.position, 23.5);
    EXPECT_EQ(rig.view.progressPosition, 24);
    rig.controller.SeekBy(-1);
    EXPECT_EQ(rig.view.progressPosition, 22);
}

TEST(controller_ProgressClick, TheMiddleOfTheBarOfAHundredSecondClipSeeksToFiftySeconds) {
    PlaybackRig rig;
    rig.player.duration = 100;
    rig.controller.TimerTick();
    rig.controller.ProgressClick(195);
    EXPECT_EQ(rig.player.position, 50);
    EXPECT_EQ(rig.view.progressPosition, 50);
}

TEST(controller_ProgressClick, ClicksPastEitherEndAreHeldToTheBarAndABarWithoutWidthIgnoresThem) {
    PlaybackRig rig;
    rig.view.progressMax = 100;
    rig.controller.ProgressClick(500);
    EXPECT_EQ(rig.player.position, 100);
    rig.controller.ProgressClick(-20);
    EXPECT_EQ(rig.player.position, 0);
    rig.view.progressWidth = 0;
    rig.log.clear();
    rig.controller.ProgressClick(100);
    EXPECT_TRUE(rig.log.empty());
}

}  // namespace
}  // namespace kv::test
