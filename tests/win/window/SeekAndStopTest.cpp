// Moving within a file: the progress bar click, the keypad seek keys, and Stop then Play.
#include "tests/win/window/WindowTestKit.h"

namespace kv::test {
namespace {

using SeekAndStop = WindowTest;

bool CloseRequested(HWND window) {
    MSG msg;
    return PeekMessageW(&msg, window, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
}

TEST_F(SeekAndStop, AClickInTheMiddleOfTheBarOfAHundredSecondFileSeeksToFiftySeconds) {
    Prepare({Clip(L"long.mpg")});
    ObservedFormMain& form = Make({"/p"});
    ASSERT_TRUE(Settle(form));
    ASSERT_EQ(form.Mp1->FileName(), Clip(L"long.mpg"));
    ASSERT_EQ(form.pgb1->Width(), 390);
    ASSERT_EQ(form.pgb1->Max(), 100);

    form.pgb1MouseDown(MouseButton::Right, {}, 300, 4);  // only the left button seeks
    EXPECT_LT(form.Mp1->CurrentPosition(), 5.0);

    form.pgb1MouseDown(MouseButton::Left, {.left = true}, 195, 4);
    EXPECT_EQ(form.pgb1->Position(), 50);
    EXPECT_NEAR(form.Mp1->CurrentPosition(), 50.0, 1.0);
    const size_t ticks = form.ticks.size();
    ASSERT_TRUE(PumpUntil([&] { return form.ticks.size() > ticks; }, 2000));
    EXPECT_NEAR(form.Mp1->CurrentPosition(), 50.25, 1.0);
    EXPECT_EQ(form.pgb1->Position(), 50);  // the timer agrees

    EXPECT_EQ(dialogs_->Count(), 0);
}

// The bar's maximum is the rounded length (100 for 99.8 s): its far end lies past the file's end.
TEST_F(SeekAndStop, AClickAtTheFarEndOfTheBarEndsTheFileAndPlaybackGoesOn) {
    Prepare({Clip(L"long.mpg")});
    ObservedFormMain& form = Make({"/p"});
    ASSERT_TRUE(Settle(form));
    ASSERT_GT(form.pgb1->Max(), form.Mp1->Duration());
    form.pgb1MouseDown(MouseButton::Left, {.left = true}, 500, 4);  // beyond the bar: held at its end
    EXPECT_EQ(form.pgb1->Position(), 100);
    EXPECT_LT(form.Mp1->CurrentPosition(), 100.0);  // held at the end of the file, not the bar's

    ASSERT_TRUE(PumpUntil([&] { return !form.filesAfterEnd.empty(); }, 5000)) << "the file did not end";
    EXPECT_EQ(form.filesAfterEnd[0], Clip(L"long.mpg"));
    EXPECT_TRUE(PumpUntil([&] { return form.Mp1->CurrentPosition() < 5.0; }, 3000));
    EXPECT_EQ(dialogs_->Count(), 0);
}

TEST_F(SeekAndStop, APlayWhoseSavedPositionLiesPastTheEndPlaysTheFileOutAndGoesOn) {
    Prepare({Clip(L"long.mpg")}, SettingsValues{.continuePlay = true, .currentPosition = 150.0});
    ObservedFormMain& form = Make({"/c"});
    ASSERT_EQ(form.State().SavedPosition, 150.0);
    form.PlayClick();
    ASSERT_TRUE(Settle(form));
    EXPECT_TRUE(form.State().IsPlaying);
    EXPECT_LT(form.Mp1->CurrentPosition(), 101.0);
    ASSERT_TRUE(PumpUntil([&] { return !form.filesAfterEnd.empty(); }, 5000)) << "the file did not end";
    EXPECT_EQ(form.Mp1->FileName(), Clip(L"long.mpg"));
    EXPECT_EQ(dialogs_->Count(), 0);
}

TEST_F(SeekAndStop, KeypadNinePastTheEndDoesNothingAndCtrlKeypadNineGoesBackToTheStart) {
    Prepare({Clip(L"long.mpg")});
    ObservedFormMain& form = Make({"/p"});
    ASSERT_TRUE(Settle(form));
    ASSERT_EQ(form.Mp1->FileName(), Clip(L"long.mpg"));

    form.Mp1->SetCurrentPosition(30);
    WORD key = VK_NUMPAD9;
    form.FormKeyDown(key, {});  // +90 s lands past the 100 s end
    EXPECT_NEAR(form.Mp1->CurrentPosition(), 30.0, 0.5);
    EXPECT_EQ(form.pgb1->Position(), 30);

    key = VK_NUMPAD9;
    form.FormKeyDown(key, {.ctrl = true});  // -90 s stops at 0
    EXPECT_LT(form.Mp1->CurrentPosition(), 0.5);
    EXPECT_EQ(form.pgb1->Position(), 0);

    key = VK_NUMPAD3;
    form.FormKeyDown(key, {});
    EXPECT_NEAR(form.Mp1->CurrentPosition(), 30.0, 0.5);
    key = VK_LEFT;
    form.FormKeyDown(key, {.ctrl = true});  // Ctrl alone: only the keypad digits seek
    EXPECT_NEAR(form.Mp1->CurrentPosition(), 30.0, 0.5);
    key = VK_LEFT;
    form.FormKeyDown(key, {.shift = true, .ctrl = true});
    EXPECT_NEAR(form.Mp1->CurrentPosition(), 20.0, 0.5);

    // Seek keys keep a full-screen run going.
    EXPECT_FALSE(CloseRequested(form.Handle()));
    EXPECT_TRUE(form.Mp1->FileName() == Clip(L"long.mpg"));
}

TEST_F(SeekAndStop, StopThenPlayReopensAtThePositionOfTheLastPause) {
    Prepare({Clip(L"long.mpg")});
    ObservedFormMain& form = Make({"/c"});
    form.PlayClick();
    ASSERT_TRUE(Settle(form));
    ASSERT_TRUE(form.State().IsPlaying);
    EXPECT_LT(form.Mp1->CurrentPosition(), 2.0);  // nothing remembered: from the start

    form.Mp1->SetCurrentPosition(40);
    form.PlayClick();
    ASSERT_FALSE(form.State().IsPlaying);
    EXPECT_NEAR(form.State().SavedPosition, 40.0, 0.5);

    form.StopClick();
    EXPECT_FALSE(form.State().IsPlaying);
    EXPECT_FALSE(form.Mp1->Visible());
    EXPECT_LT(form.Mp1->CurrentPosition(), 0.02);
    EXPECT_NEAR(form.State().SavedPosition, 40.0, 0.5);

    form.PlayClick();
    ASSERT_TRUE(Settle(form));
    EXPECT_TRUE(form.State().IsPlaying);
    EXPECT_TRUE(form.Mp1->Visible());
    EXPECT_EQ(form.Mp1->FileName(), Clip(L"long.mpg"));
    EXPECT_NEAR(form.Mp1->CurrentPosition(), 40.0, 1.0);
    EXPECT_EQ(dialogs_->Count(), 0);
}

}  // namespace
}  // namespace kv::test
