#pragma once
// The screen saver's one window: settings and playlist files, the playback controller with
// its input handling, the configuration panel, and start-up, installation and close.
#include <string>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/OpenDialog.h"
#include "framework/StdControls.h"
#include "saver/controls/GradientPanel.h"
#include "saver/host/ScreenSaver.h"
#include "saver/player/MediaPlayerX.h"
#include "saver/window/Captions.h"
#include "saver/window/NoticeLabel.h"
#include "saver/window/PlaybackController.h"

namespace kv {

class TFormMain : public Form {
public:
    explicit TFormMain(Component* owner);
    ~TFormMain() override;

    // Layout (owned by the form as components).
    Panel* PanelSetup;
    TGradientPanel* Panel_bar;
    ListBox* ListFile;
    TGradientPanel* Panel1;
    Label* Label1;
    SpeedButton* Play;
    SpeedButton* Stop;
    ProgressBar* pgb1;
    GroupBox* GroupBox1;
    CheckBox* MuteWave;
    CheckBox* Continue;
    GroupBox* GroupBox2;
    SpeedButton* BitBtn_Add;
    SpeedButton* Remove;
    SpeedButton* SpeedButton3;
    SpeedButton* BitBtn_OK;
    SpeedButton* BitBtn_Apply;
    SpeedButton* BitBtn_Cancel;
    Label* Label2;
    RadioButton* RadioButton1;
    RadioButton* RadioButton2;
    ListBox* ListPath;
    SpeedButton* BitBtn1;  // keeps the pause image
    SpeedButton* BitBtn2;  // keeps the play image
    TMediaPlayerX* Mp1;
    Label* lbLoadmedia;
    NoticeLabel* lbNotice;  // what the panel has to tell the user, e.g. a save that failed
    OpenDialog* opdlg1;
    Timer* Timer1;
    Timer* ResumeTimer;  // one-shot: Play's half second between opening a file and its position
    TScreenSaver* ScreenSaver1;

    // Playback state (IsPlaying, CurrentIndex, SavedPosition, SavedFileName, ResumePending).
    PlaybackState& State() { return controller_.State; }
    PlaybackPhase Phase() const { return controller_.Phase(); }
    int StartCursorX = 0;
    int StartCursorY = 0;

    // Start-up and close.
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void InstallScrClick();
    void LaunchInstallScreenSaver(const std::string& path);
    static int SetProcessPriority(int level);

    // Settings and playlist files.
    void LoadPlaylist();
    void LoadSettings();
    // False (and a notice in the panel) when a file could not be written.
    bool SaveSettings();
    void SaveResumeRecord();
    void AddToPlaylist(const std::wstring& path);
    // The playlist file exists but could not be read at start-up; Save then leaves it alone.
    bool PlaylistUnreadable() const { return playlistUnreadable_; }

    // Playback controller and input.
    void PlayClick() { controller_.PlayClick(); }
    void StopClick() { controller_.StopClick(); }
    void mp1EndOfStream() { controller_.EndOfStream(); }
    void mp1Opened() { controller_.FileOpened(); }
    void mp1OpenFailed(const std::string& reason) { controller_.FileFailed(reason); }
    void ResumeTimerTimer();
    void Timer1Timer() { controller_.TimerTick(); }
    void SeekBy(int seconds) { controller_.SeekBy(seconds); }
    void pgb1MouseDown(MouseButton button, ShiftState shift, int x, int y);
    void MuteWaveClick();
    void FormKeyDown(WORD& key, ShiftState shift);
    void FormMouseMove(ShiftState shift, int x, int y);
    void Panel_barMouseMove(ShiftState shift, int x, int y);
    void FormMouseWheel(ShiftState shift, int delta, bool& handled);

    // Configuration panel.
    void SpeedButton1Click();
    void RemoveClick();
    void ListFileKeyDown(WORD& key, ShiftState shift);
    void ListFileClick();
    void ListFileDblClick() { PlayClick(); }
    void SpeedButton3Click();
    void RadioButton1Click() { ApplyLanguage(Language::Thai); }
    void RadioButton2Click() { ApplyLanguage(Language::English); }
    void ApplyLanguage(Language language);
    void BitBtn_ApplyClick();
    void BitBtn_OKClick();
    void BitBtn_CancelClick();
    // Adds a file the user chose; false (and a notice in the panel) when the playlist file
    // cannot hold its path.
    bool AddChosenFile(const std::wstring& path);
    void Label2Click();

    // The host shows the panel only in configuration mode.
    bool ConfigurationMode() const { return PanelSetup->Visible(); }
    // A picture in the Display control panel's preview: silent, and it leaves no resume record.
    bool PreviewRun() const;

    // Session end: the resume record is kept without a password dialog that no one would see,
    // and the run ends before the system ends the process.
    void QueryEndSession();
    void EndSession();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void BuildLayout();
    void BuildPanelExtras();
    void BindEvents();
    void BindPanelEvents();
    void ApplyInitialCaptions();
    void ApplyCaptions(const PanelCaptions& captions);
    // Asks the window to close, as every input that ends a run does.
    void EndRun();

    // The controller's view of the player and of this window.
    class PlayerPort : public PlaybackPlayer {
    public:
        explicit PlayerPort(TFormMain& f) : f_(f) {}
        void Open(const std::wstring& path) override { f_.Mp1->Open(path); }
        void Stop() override { f_.Mp1->Stop(); }
        void Pause() override { f_.Mp1->Pause(); }
        double CurrentPosition() override { return f_.Mp1->CurrentPosition(); }
        void SetCurrentPosition(double s) override { f_.Mp1->SetCurrentPosition(s); }
        double Duration() override { return f_.Mp1->Duration(); }
        void SetVisible(bool visible) override { f_.Mp1->ShowVideo(visible); }
        void Prepare(const std::wstring& path) override { f_.Mp1->Prepare(path); }

    private:
        TFormMain& f_;
    };
    class ViewPort : public PlaybackView {
    public:
        explicit ViewPort(TFormMain& f) : f_(f) {}
        int PlaylistCount() override { return f_.ListPath->Count(); }
        std::wstring PlaylistPath(int index) override { return f_.ListPath->Item(index); }
        bool FileExists(const std::wstring& path) override;
        bool ConfigurationMode() override { return f_.ConfigurationMode(); }
        void ShowPauseImage(bool pauseImage) override;
        void AttachPlayerToPreview() override;
        void StartResumeWait() override;
        void CancelResumeWait() override { f_.ResumeTimer->SetEnabled(false); }
        void RepaintWindow() override { f_.Repaint(); }
        int ProgressMax() override { return f_.pgb1->Max(); }
        void SetProgressMax(int max) override { f_.pgb1->SetMax(max); }
        int ProgressPosition() override { return f_.pgb1->Position(); }
        void SetProgressPosition(int position) override { f_.pgb1->SetPosition(position); }
        int ProgressWidth() override { return f_.pgb1->Width(); }
        void LogFailure(const std::string& reason) override { Application.LogError(reason); }

    private:
        TFormMain& f_;
    };

    bool playlistUnreadable_ = false;
    bool sessionRecordKept_ = false;
    PlayerPort playerPort_{*this};
    ViewPort viewPort_{*this};
    PlaybackController controller_;
};

}  // namespace kv
