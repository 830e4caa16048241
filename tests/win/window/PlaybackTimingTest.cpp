// Time on the window thread: when the picture shows, what the 500 ms wait after opening costs,
// and a quit request that arrives inside that wait.
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
    std::printf("picture shown %.0f ms after the open returned, at %.3f s (first sample %.3f s)\n", shown->atMs,
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

TEST_F(PlaybackTiming, ThePlayWithResumeSleepsThroughItsWait) {
    const std::wstring path = Clip(L"long.mpg");
    Prepare({path}, SettingsValues{.continuePlay = true, .filePosition = 0, .currentPosition = 20.0, .fileName = path});
    ObservedFormMain& form = Make({"/p"});
    // Same file as remembered: opened at the remembered position, toggle on.
    ASSERT_TRUE(form.State().IsPlaying);
    EXPECT_NEAR(form.Mp1->CurrentPosition(), 20.0, 1.0);
    EXPECT_TRUE(form.Mp1->Visible());

    form.PlayClick();  // pause: the position becomes the one to resume at
    ASSERT_FALSE(form.State().IsPlaying);
    const double resumeAt = form.State().SavedPosition;
    EXPECT_NEAR(resumeAt, 20.0, 1.0);

    const size_t ticksBefore = form.ticks.size();
    CpuMeter meter;
    form.PlayClick();
    const double processMs = meter.ProcessMs(), threadMs = meter.ThreadMs(), wallMs = meter.WallMs();
    std::printf("Play with resume: %.0f ms wall, %.0f ms process CPU, %.0f ms window-thread CPU\n", wallMs,
                processMs, threadMs);
    EXPECT_GE(wallMs, 500.0);
    EXPECT_LT(processMs, wallMs * 0.4);
    EXPECT_LT(threadMs, wallMs * 0.25);
    // The wait kept the window working: timer ticks ran inside it.
    EXPECT_GE(form.ticks.size() - ticksBefore, 3u);
    EXPECT_TRUE(form.State().IsPlaying);
    EXPECT_NEAR(form.Mp1->CurrentPosition(), resumeAt, 1.0);

    // The wait alone, while the file plays.
    CpuMeter waitMeter;
    Pump(500);
    std::printf("wait alone: %.0f ms wall, %.0f ms process CPU, %.0f ms window-thread CPU\n", waitMeter.WallMs(),
                waitMeter.ProcessMs(), waitMeter.ThreadMs());
    EXPECT_GE(waitMeter.WallMs(), 500.0);
    EXPECT_LT(waitMeter.WallMs(), 900.0);
    EXPECT_LT(waitMeter.ThreadMs(), 50.0);
    EXPECT_EQ(dialogs_->Count(), 0);
}

DWORD quitPostedAt = 0;

void CALLBACK PostQuitFromTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    quitPostedAt = GetTickCount();
    PostQuitMessage(7);
}

TEST_F(PlaybackTiming, AQuitRequestedDuringTheWaitStillEndsTheProgram) {
    Prepare({Clip(L"clip.mpg")});
    ObservedFormMain& form = Make({"/c"});
    ASSERT_FALSE(Application.Terminated());
    // Due after the preview's own message processing: the open or the wait after it sees it.
    quitPostedAt = 0;
    SetTimer(nullptr, 0, 250, PostQuitFromTimer);

    CpuMeter meter;
    form.PlayClick();
    const DWORD returnedAt = GetTickCount();
    std::printf("Play with a quit inside the wait: %.0f ms, returned %lu ms after the quit\n", meter.WallMs(),
                static_cast<unsigned long>(returnedAt - quitPostedAt));
    ASSERT_NE(quitPostedAt, 0u) << "the quit timer did not run inside Play";
    // The wait ended with the request instead of sitting out its 500 ms.
    EXPECT_LT(returnedAt - quitPostedAt, 250u);

    EXPECT_TRUE(Application.Terminated());
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the quit request was lost";
    EXPECT_EQ(quit.wParam, 7u);
    // Whether it came while the file was opened or during the wait after it, no box came up.
    EXPECT_EQ(dialogs_->Count(), 0);
}

}  // namespace
}  // namespace kv::test
