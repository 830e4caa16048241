// The playlist played file after file by the real player: the order, the missing and broken
// entries, and a playlist where nothing can play.
#include "tests/win/window/WindowTestKit.h"

#include "framework/Application.h"

namespace kv::test {
namespace {

using PlaylistAdvance = WindowTest;

TEST_F(PlaylistAdvance, ThreeClipsPlayInOrderAndTheFirstFollowsTheLast) {
    const std::vector<std::wstring> playlist{Clip(L"clip.mpg"), Clip(L"clip.avi"), Clip(L"clip.wmv")};
    Prepare(playlist);
    ObservedFormMain& form = Make({"/p"});
    ASSERT_TRUE(Settle(form));
    // No remembered file: the full-screen start plays the first entry from its beginning.
    EXPECT_EQ(form.Mp1->FileName(), playlist[0]);
    EXPECT_EQ(form.State().CurrentIndex, 0);
    EXPECT_EQ(form.pgb1->Max(), 3);

    ASSERT_TRUE(PumpUntil([&] { return form.filesAfterEnd.size() >= 3; }, 20000))
        << form.filesAfterEnd.size() << " ends seen";
    EXPECT_EQ(form.filesAfterEnd, (std::vector<std::wstring>{playlist[1], playlist[2], playlist[0]}));
    EXPECT_EQ(form.State().CurrentIndex, 0);
    // The advance keeps the toggle as the start left it.
    EXPECT_FALSE(form.State().IsPlaying);
    EXPECT_EQ(dialogs_->Count(), 0);
}

// A missing first entry, then every kind of entry that cannot play between two clips: the run
// starts with the first clip, and its end goes on to the second, without a box.
TEST_F(PlaylistAdvance, HostileEntriesAreSkippedForwardToTheNextClipThatPlays) {
    const std::wstring folder = Clip(L"");
    const std::vector<std::wstring> playlist{
        MissingClip(L"first.avi"), Clip(L"clip.mpg"), MissingClip(L"third.avi"), folder.substr(0, folder.size() - 1),
        L"NUL", L"CON", L"", Clip(L"empty.avi"), Clip(L"junk.avi"), Clip(L"notvideo.mpg"), Clip(L"clip.avi")};
    Prepare(playlist);
    ObservedFormMain& form = Make({"/p"});
    ASSERT_TRUE(Settle(form));
    EXPECT_EQ(form.State().CurrentIndex, 1);
    ASSERT_EQ(form.Mp1->FileName(), playlist[1]);

    DWORD start = GetTickCount();
    form.mp1EndOfStream();
    ASSERT_TRUE(Settle(form));
    std::printf("skipping %zu hostile entries took %lu ms\n", playlist.size() - 3, GetTickCount() - start);
    EXPECT_EQ(form.State().CurrentIndex, 10);
    EXPECT_EQ(form.Mp1->FileName(), playlist[10]);
    ASSERT_TRUE(PumpUntil([&] { return form.Mp1->CurrentPosition() > 0.1; }, 3000));
    EXPECT_EQ(dialogs_->Count(), 0);
}

TEST_F(PlaylistAdvance, APlaylistOfMissingFilesPlaysNothingReportsNothingAndStaysIdle) {
    Prepare({MissingClip(L"a.mpg"), MissingClip(L"b.avi"), MissingClip(L"c.wmv")});
    ObservedFormMain& form = Make({"/p"});
    form.PlayClick();  // a second try does no more than the first

    CpuMeter meter;
    Pump(1000);
    double processMs = meter.ProcessMs(), wallMs = meter.WallMs();
    std::printf("nothing to play: process CPU %.0f ms in %.0f ms\n", processMs, wallMs);
    EXPECT_LT(processMs, wallMs * 0.25);

    EXPECT_EQ(form.Mp1->FileName(), L"");
    EXPECT_FALSE(form.State().IsPlaying);
    EXPECT_EQ(form.State().CurrentIndex, 0);
    EXPECT_FALSE(form.Mp1->Visible());
    EXPECT_GE(form.ticks.size(), 5u);  // the timer keeps running over an empty player
    EXPECT_EQ(dialogs_->Count(), 0);
}

TEST_F(PlaylistAdvance, ABrokenOnlyEntryInAFullScreenRunEndsWithNothingPlayingAndNoLoop) {
    Prepare({Clip(L"junk.avi")});
    ObservedFormMain& form = Make({"/p"});
    ASSERT_TRUE(Settle(form));
    CpuMeter meter;
    Pump(500);
    EXPECT_LT(meter.ProcessMs(), meter.WallMs() * 0.25);
    EXPECT_FALSE(form.State().IsPlaying);
    EXPECT_FALSE(form.Mp1->Visible());
    EXPECT_EQ(dialogs_->Count(), 0);
}

TEST_F(PlaylistAdvance, PlayOnABrokenFileInConfigurationModeShowsNoBox) {
    Prepare({Clip(L"junk.avi")});
    ObservedFormMain& form = Make({"/c"});
    ASSERT_TRUE(form.ConfigurationMode());
    form.PlayClick();
    ASSERT_TRUE(Settle(form));
    EXPECT_FALSE(form.State().IsPlaying);
    EXPECT_EQ(form.State().CurrentIndex, 0);
    EXPECT_EQ(dialogs_->Count(), 0);

    // The watcher does see a report that is shown.
    Application.ShowErrorBox("Probe");
    EXPECT_EQ(dialogs_->Count(), 1);
    dialogs_->Stop();
    ASSERT_EQ(dialogs_->Boxes().size(), 1u);
    EXPECT_NE(dialogs_->Boxes()[0].texts.find(L"Probe."), std::wstring::npos);
}

}  // namespace
}  // namespace kv::test
