// What loaded settings and the mute box do to the player and the panel.
#include "tests/win/window/WindowTestKit.h"

#include "framework/Text.h"

namespace kv::test {
namespace {

using SettingsEffects = WindowTest;

TEST_F(SettingsEffects, ATrueMuteWaveTicksTheBoxAndRunsItsClickOnce) {
    Prepare({Clip(L"clip.mpg")}, SettingsValues{.muteWave = true});
    ObservedFormMain& form = Make({"/c"});
    EXPECT_TRUE(form.MuteWave->Checked());
    EXPECT_EQ(form.muteClicks, std::vector<bool>{true});
}

TEST_F(SettingsEffects, AFalseMuteWaveLeavesTheBoxClearWithoutAClick) {
    Prepare({Clip(L"clip.mpg")}, SettingsValues{.muteWave = false});
    ObservedFormMain& form = Make({"/c"});
    EXPECT_FALSE(form.MuteWave->Checked());
    EXPECT_TRUE(form.muteClicks.empty());
}

TEST_F(SettingsEffects, AMuteSetWhilePlayingStaysOnThroughTheNextFileWithoutAnError) {
    Prepare({Clip(L"clip.mpg"), Clip(L"clip.avi")});
    ObservedFormMain& form = Make({"/c"});
    form.PlayClick();
    ASSERT_TRUE(form.State().IsPlaying);
    form.MuteWave->SetChecked(true);
    EXPECT_EQ(form.muteClicks, std::vector<bool>{true});
    form.mp1EndOfStream();
    EXPECT_EQ(form.Mp1->FileName(), Clip(L"clip.avi"));
    EXPECT_TRUE(form.MuteWave->Checked());
    form.MuteWave->SetChecked(false);
    EXPECT_EQ(form.muteClicks, (std::vector<bool>{true, false}));
    EXPECT_EQ(dialogs_->Count(), 0);
}

TEST_F(SettingsEffects, LanguageZeroSelectsThaiAndRelabelsThePanel) {
    Prepare({}, SettingsValues{.language = 0});
    ObservedFormMain& form = Make({"/c"});
    EXPECT_TRUE(form.RadioButton1->Checked());
    EXPECT_FALSE(form.RadioButton2->Checked());
    EXPECT_EQ(form.BitBtn_OK->Caption(), Widen("ตกลง"));
    EXPECT_EQ(form.BitBtn_Cancel->Caption(), Widen("ยกเลิก"));
}

TEST_F(SettingsEffects, LanguageOneSelectsEnglish) {
    Prepare({}, SettingsValues{.language = 1});
    ObservedFormMain& form = Make({"/c"});
    EXPECT_TRUE(form.RadioButton2->Checked());
    EXPECT_FALSE(form.RadioButton1->Checked());
    EXPECT_EQ(form.BitBtn_OK->Caption(), L"OK");
}

}  // namespace
}  // namespace kv::test
