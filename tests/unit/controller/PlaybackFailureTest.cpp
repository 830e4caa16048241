#include "tests/unit/controller/FakePlayback.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using Names = std::vector<std::string>;

// Entries of a playlist: '.' plays, 'm' is missing, 'b' exists but cannot be opened.
struct AdvanceCase {
    const char* entries;
    int32_t from;     // CurrentIndex when the file ends
    Names opens;      // the files tried, in order
    int32_t landsOn;  // CurrentIndex afterwards
    bool playing;     // a file is open afterwards
};

TEST(controller_Advance, SkipsForwardOverMissingAndBrokenEntriesForOneLapAtMost) {
    const AdvanceCase cases[] = {
        {"....", 0, {"e1"}, 1, true},
        {".m..", 0, {"e2"}, 2, true},              // a missing middle entry: on to the next
        {".bb.", 0, {"e1", "e2", "e3"}, 3, true},  // broken ones are tried once each
        {"....", 3, {"e0"}, 0, true},              // after the last, the first
        {"m...", 3, {"e1"}, 1, true},              // ... or the first that can play
        {".mbm", 0, {"e2", "e0"}, 0, true},        // round to the entry that just played
        {"m.b.", -1, {"e1"}, 1, true},             // the start of a run without a resume
        {"....", 7, {"e0"}, 0, true},              // an index left outside the playlist
        {"mbmb", 1, {"e3", "e1"}, 1, false},       // nothing can play: one lap, then stop
    };
    for (const AdvanceCase& c : cases) {
        PlaybackRig rig;
        rig.view.playlist.clear();
        for (size_t i = 0; c.entries[i]; ++i) {
            std::wstring path = L"C:\\clips\\e" + std::to_wstring(i);
            rig.view.playlist.push_back(path);
            if (c.entries[i] == 'm') rig.view.missing.insert(path);
            if (c.entries[i] == 'b') rig.player.broken.insert(path);
        }
        SCOPED_TRACE(std::string(c.entries) + " from " + std::to_string(c.from));
        rig.controller.State.CurrentIndex = c.from;
        EXPECT_NO_THROW(rig.controller.EndOfStream());
        rig.Settle();
        EXPECT_EQ(rig.Opens(), c.opens);
        EXPECT_LE(rig.view.existenceChecks, rig.view.PlaylistCount());
        EXPECT_EQ(rig.controller.State.CurrentIndex, c.landsOn);
        EXPECT_EQ(!rig.player.openFile.empty(), c.playing);
    }
}

TEST(controller_MissingFiles, PlayOnAMissingCurrentFileRunsTheAdvanceAndLeavesTheToggleOff) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.view.missing = {PlaybackRig::kOne};
    rig.controller.PlayClick();
    rig.Settle();
    EXPECT_EQ(rig.Opens(), (Names{"two.mpg"}));
    EXPECT_FALSE(rig.controller.State.IsPlaying);
    EXPECT_EQ(rig.log.front(), "PauseImage");
}

// Outside configuration mode an error box would sit unseen under the top-most saver window.
TEST(controller_BrokenFiles, WithEveryFileBrokenNothingPlaysAndTheWorkIsBounded) {
    PlaybackRig rig;
    rig.player.broken = {PlaybackRig::kOne, PlaybackRig::kTwo, PlaybackRig::kThree};
    rig.controller.State.SavedFileName = PlaybackRig::kOne;
    EXPECT_NO_THROW(rig.controller.PlayClick());
    rig.Settle();
    EXPECT_LE(rig.player.opens, 4);  // the remembered file, then one lap
    for (int end = 0; end < 3; ++end) {
        int before = rig.player.opens;
        EXPECT_NO_THROW(rig.controller.EndOfStream());
        rig.Settle();
        EXPECT_LE(rig.player.opens - before, 3);
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
    rig.Settle();
    EXPECT_EQ(rig.Opens(), (Names{"two.mpg", "three.wmv"}));
    EXPECT_EQ(state.CurrentIndex, 2);
    EXPECT_FALSE(state.IsPlaying);
    for (const std::string& entry : rig.log) EXPECT_NE(entry, "Position 42");
}

TEST(controller_BrokenFiles, ABrokenFirstEntryIsTriedOnceAndTheRunStartsWithTheNext) {
    PlaybackRig rig;
    rig.player.broken = {PlaybackRig::kOne};
    rig.controller.PlayClick();  // no resume record: the advance starts at the first entry
    rig.Settle();
    EXPECT_EQ(rig.Opens(), (Names{"one.avi", "two.mpg"}));
}

TEST(controller_Failures, ConfigurationModePlayStaysSilentAboutAFileThatCannotPlay) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.player.broken = {PlaybackRig::kOne};
    EXPECT_NO_THROW(rig.controller.PlayClick());
    EXPECT_NO_THROW(rig.Settle());
    EXPECT_EQ(rig.Opens(), (Names{"one.avi"}));
    EXPECT_FALSE(rig.controller.State.IsPlaying);
}

TEST(controller_Failures, ConfigurationModeReportsAnAdvanceToAFileThatCannotPlay) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.player.broken = {PlaybackRig::kTwo};
    rig.controller.EndOfStream();
    EXPECT_THROW(rig.Settle(), std::exception);
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
