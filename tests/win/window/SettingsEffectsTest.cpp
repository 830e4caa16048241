// What loaded settings and the mute box do to the player and the panel.
#include "tests/win/window/WindowTestKit.h"

#include "framework/Scoped.h"
#include "framework/Text.h"
#include "saver/window/SettingsFiles.h"

namespace kv::test {
namespace {

using SettingsEffects = WindowTest;

std::string FileBytes(const std::string& path) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(4096, '\0');
    DWORD got = 0;
    if (!file || !ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &got, nullptr)) return "<unreadable>";
    bytes.resize(got);
    return bytes;
}

// Another program holds the playlist file open without sharing it.
class HeldPlaylist : public WindowTest {
protected:
    ObservedFormMain& MakeWithThePlaylistHeld(const char* mode) {
        Prepare({Clip(L"clip.mpg"), Clip(L"clip.avi")}, SettingsValues{.muteWave = false});
        before_ = FileBytes(path_);
        holder_.Reset(CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(holder_);
        ObservedFormMain& form = Make({mode});
        EXPECT_TRUE(form.PlaylistUnreadable());
        EXPECT_EQ(form.ListPath->Count(), 0);
        EXPECT_EQ(dialogs_->Count(), 0);
        return form;
    }
    const std::string path_ = PlaylistFilePath();
    std::string before_;
    ScopedFile holder_;
};

TEST_F(HeldPlaylist, AFullScreenRunGoesOnWithNothingToPlayAndNoBox) {
    ObservedFormMain& form = MakeWithThePlaylistHeld("/s");
    ASSERT_TRUE(Settle(form));
    EXPECT_EQ(form.Mp1->FileName(), L"");
    EXPECT_TRUE(form.lbLoadmedia->Visible());
    holder_.Reset();
    EXPECT_EQ(FileBytes(path_), before_);
}

TEST_F(HeldPlaylist, SaveInThePanelWritesTheSettingsButNeverReplacesThePlaylistItNeverRead) {
    ObservedFormMain& form = MakeWithThePlaylistHeld("/c");
    form.MuteWave->SetChecked(true);
    form.BitBtn_ApplyClick();
    holder_.Reset();
    form.BitBtn_ApplyClick();  // readable now, but never read: still kept
    EXPECT_TRUE(IniFile(SettingsIniPath()).ReadBool("SOUND", "MUTEWAVE", false));
    EXPECT_EQ(FileBytes(path_), before_);
    EXPECT_EQ(dialogs_->Count(), 0);
}

// Continue off: the remembered file is the first entry, yet the run starts at its beginning.
TEST_F(SettingsEffects, WithContinueOffARunStartsAtTheFirstEntryFromItsBeginning) {
    const std::wstring ten = Clip(L"ten.mpg");
    Prepare({ten, Clip(L"clip.avi")},
            SettingsValues{.continuePlay = false, .filePosition = 1, .currentPosition = 6.0, .fileName = ten});
    ObservedFormMain& form = Make({"/p"});
    EXPECT_EQ(form.Mp1->FileName(), ten);
    EXPECT_EQ(form.State().CurrentIndex, 0);
    ASSERT_TRUE(PumpUntil([&] { return form.Mp1->Visible(); }, 3000));
    EXPECT_LT(form.Mp1->CurrentPosition(), 2.0);
}

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
    ASSERT_TRUE(Settle(form));
    ASSERT_TRUE(form.State().IsPlaying);
    form.MuteWave->SetChecked(true);
    EXPECT_EQ(form.muteClicks, std::vector<bool>{true});
    form.mp1EndOfStream();
    ASSERT_TRUE(Settle(form));
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

// A log-off that another program cancelled: the run goes on, and the next one stores where it is then.
TEST_F(SettingsEffects, AfterACancelledLogOffTheNextOneStoresThePositionAgain) {
    Prepare({Clip(L"long.mpg")}, SettingsValues{.continuePlay = false});
    ObservedFormMain& form = Make({"/c"});
    form.PlayClick();
    ASSERT_TRUE(Settle(form));
    auto stored = [] { return IniFile(SettingsIniPath()).ReadFloat("MEDIA", "CURRENTPOSITION", -1); };
    SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, 0);
    EXPECT_LT(stored(), 5.0);
    SendMessageW(form.Handle(), WM_ENDSESSION, FALSE, 0);
    form.Mp1->SetCurrentPosition(50);
    ASSERT_TRUE(PumpUntil([&] { return form.Mp1->CurrentPosition() >= 49.5; }, 2000));
    SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, 0);
    EXPECT_NEAR(stored(), 50.0, 2.0);
    EXPECT_EQ(dialogs_->Count(), 0);
}

}  // namespace
}  // namespace kv::test
