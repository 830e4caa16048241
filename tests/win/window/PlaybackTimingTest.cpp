// Time on the window thread: when the picture shows, and what the 500 ms wait after opening
// costs: a timer, during which the window idles and its timer ticks run.
#include "tests/win/window/WindowTestKit.h"

#include "framework/Application.h"

namespace kv::test {
namespace {

using PlaybackTiming = WindowTest;

struct Sample {
    double atMs;
    bool visible;
    double position;
};

// Reads the player every few milliseconds while messages (and with them the timer) run.
std::vector<Sample> SampleVisibility(ObservedFormMain& form, DWORD ms) {
    std::vector<Sample> samples;
    CpuMeter clock;
    while (clock.WallMs() < ms) {
        samples.push_back({clock.WallMs(), form.Mp1->Visible(), form.Mp1->CurrentPosition()});
        Pump(3);
    }
    return samples;
}

TEST_F(PlaybackTiming, ThePictureShowsOnlyOnceTheFileHasPlayedTwoHundredthsAndHidesAfterStop) {
    Prepare({Clip(L"ten.mpg")});
    ObservedFormMain& form = Make({"/p"});
    ASSERT_EQ(form.Mp1->FileName(), Clip(L"ten.mpg"));
    ASSERT_TRUE(Settle(form));
    // The start went through the advance, which opens without showing the picture.
    EXPECT_FALSE(form.Mp1->Visible());

    std::vector<Sample> samples = SampleVisibility(form, 600);
    ASSERT_FALSE(samples.empty());
    EXPECT_FALSE(samples.front().visible);
    const Sample* shown = nullptr;
    for (const Sample& s : samples)
        if (s.visible) {
            shown = &s;
            break;
        }
    ASSERT_NE(shown, nullptr) << "the picture never showed";
    std::printf("picture shown %.0f ms after the open was answered, at %.3f s (first sample %.3f s)\n", shown->atMs,
                shown->position, samples.front().position);
    EXPECT_GE(shown->position, 0.02);
    EXPECT_LT(shown->atMs, 400.0);  // one of the next few ticks
    // Every tick decided by the position it saw.
    for (const ObservedFormMain::Tick& t : form.ticks) {
        if (t.visible)
            EXPECT_GE(t.positionAfter, 0.02);
        else
            EXPECT_LT(t.positionBefore, 0.02);
    }

    // The threshold itself, with the file held still.
    form.Mp1->Pause();
    form.Mp1->SetCurrentPosition(0.01);
    form.Timer1Timer();
    EXPECT_FALSE(form.Mp1->Visible()) << form.Mp1->CurrentPosition();
    form.Mp1->SetCurrentPosition(0.05);
    form.Timer1Timer();
    EXPECT_TRUE(form.Mp1->Visible()) << form.Mp1->CurrentPosition();

    form.StopClick();
    EXPECT_FALSE(form.Mp1->Visible());
    samples = SampleVisibility(form, 350);
    for (const Sample& s : samples) {
        EXPECT_FALSE(s.visible) << "at " << s.atMs << " ms after Stop";
        EXPECT_LT(s.position, 0.02);
    }
    EXPECT_EQ(dialogs_->Count(), 0);
}

TEST_F(PlaybackTiming, ThePlayWithResumeIdlesThroughItsWaitThenSeeks) {
    const std::wstring path = Clip(L"long.mpg");
    Prepare({path}, SettingsValues{.continuePlay = true, .filePosition = 0, .currentPosition = 20.0, .fileName = path});
    ObservedFormMain& form = Make({"/p"});
    ASSERT_TRUE(Settle(form));
    // Same file as remembered: opened at the remembered position, toggle on; the picture
    // shows at that position, with the next tick.
    ASSERT_TRUE(form.State().IsPlaying);
    EXPECT_NEAR(form.Mp1->CurrentPosition(), 20.0, 1.0);
    EXPECT_FALSE(form.Mp1->Visible());
    EXPECT_TRUE(PumpUntil([&] { return form.Mp1->Visible(); }, 300));

    form.PlayClick();  // pause: the position becomes the one to resume at
    ASSERT_FALSE(form.State().IsPlaying);
    const double resumeAt = form.State().SavedPosition;
    EXPECT_NEAR(resumeAt, 20.0, 1.0);

    CpuMeter meter;
    form.PlayClick();
    const double playMs = meter.WallMs();
    ASSERT_TRUE(PumpUntil([&] { return form.Phase() == PlaybackPhase::ResumeWait; }, 5000));
    const size_t ticksBefore = form.ticks.size();
    CpuMeter wait;
    ASSERT_TRUE(Settle(form));
    const double processMs = wait.ProcessMs(), threadMs = wait.ThreadMs(), wallMs = wait.WallMs();
    std::printf("Play returned after %.1f ms; the wait: %.0f ms wall, %.0f ms process CPU, %.0f ms window-thread CPU\n",
                playMs, wallMs, processMs, threadMs);
    EXPECT_LT(playMs, 100.0);
    EXPECT_GE(wallMs, 450.0);
    EXPECT_LT(wallMs, 900.0);
    EXPECT_LT(threadMs, wallMs * 0.1);
    EXPECT_GE(form.ticks.size() - ticksBefore, 3u);
    EXPECT_TRUE(form.State().IsPlaying);
    EXPECT_NEAR(form.Mp1->CurrentPosition(), resumeAt, 1.0);
    EXPECT_EQ(dialogs_->Count(), 0);
}

}  // namespace
}  // namespace kv::test
