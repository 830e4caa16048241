#pragma once
// Plays the playlist through the media player: the Play/Pause toggle, Stop, the advance at the
// end of a file, the 100 ms timer and the seeks. Pure; the main window implements the player
// and view interfaces and forwards its handlers here.
#include <cstdint>
#include <optional>
#include <string>

namespace kv {

// The media player as the controller uses it. Failures are thrown (any std::exception).
class PlaybackPlayer {
public:
    virtual ~PlaybackPlayer() = default;
    virtual void Open(const std::wstring& path) = 0;  // loads and starts playing by itself
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    virtual double CurrentPosition() = 0;
    virtual void SetCurrentPosition(double seconds) = 0;
    virtual double Duration() = 0;
    virtual void SetVisible(bool visible) = 0;  // show / hide the player control
    // True while an Open still works (messages are dispatched meanwhile).
    virtual bool Opening() { return false; }
    // The file that will probably be opened next: the player may make it ready meanwhile.
    virtual void Prepare(const std::wstring& /*path*/) {}
};

// The main window as the controller uses it. WaitPumpingMessages, ProcessMessages and
// AttachPlayerToPreview dispatch messages, so any handler (this controller's included) may run
// inside them; the controller itself must outlive such a call.
class PlaybackView {
public:
    virtual ~PlaybackView() = default;
    virtual int PlaylistCount() = 0;
    virtual std::wstring PlaylistPath(int index) = 0;
    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool ConfigurationMode() = 0;              // the configuration panel is up
    virtual void ShowPauseImage(bool pauseImage) = 0;  // Play button: pause image or play image
    // Shows the preview area, makes it the player's parent, lets the player fill it, shows the
    // player and processes the pending messages.
    virtual void AttachPlayerToPreview() = 0;
    virtual void WaitPumpingMessages(unsigned ms) = 0;
    virtual void ProcessMessages() = 0;
    virtual void RepaintWindow() = 0;
    virtual int ProgressMax() = 0;
    virtual void SetProgressMax(int max) = 0;
    virtual int ProgressPosition() = 0;
    virtual void SetProgressPosition(int position) = 0;  // the bar keeps it within 0..max
    virtual int ProgressWidth() = 0;
};

// The main window's playback fields.
struct PlaybackState {
    bool IsPlaying = false;     // the Play button toggle: true after a Play that opened a file
    int32_t CurrentIndex = 0;   // the entry that plays or plays next
    double SavedPosition = 0;   // applied after Play opens a file; replaced on every Pause
    std::wstring SavedFileName; // the resume record's file; only compared here
    bool ResumePending = false; // a deferred seek to SavedPosition is still to be done
};

// What the close stores for the next run: the entry, the position and the file.
struct ResumeRecord {
    int32_t index;
    double position;
    std::wstring fileName;
};

// Failures: in configuration mode Play's second half and the progress click stay silent and
// the other operations let player failures out to the caller's error report. In full-screen
// and preview mode nothing escapes (no one could answer an error box over the saver), and a
// file that exists but cannot be played is skipped as a missing one is.
class PlaybackController {
public:
    PlaybackController(PlaybackPlayer& player, PlaybackView& view);

    PlaybackState State;

    void PlayClick();           // play/pause toggle; also the start of a full-screen run
    void StopClick();           // rewind, pause, hide the video
    void EndOfStream();         // the player's end of a file: open the next entry
    void TimerTick();           // every 100 ms: progress bar, video visibility, deferred resume
    void SeekBy(int seconds);   // the seek keys
    void ProgressClick(int x);  // left button on the progress bar, x inside the bar

    // The record to store at close: the entry that plays or is being opened, at the position
    // it plays (or was to resume) at. nullopt when nothing plays: never started, stopped, or
    // nothing could be opened. Player failures go up.
    std::optional<ResumeRecord> ResumeRecordAtClose();

private:
    void Pause();
    void StartCurrentEntry();
    void Advance();
    bool OpenEntry(int32_t index);
    void PrepareNext();
    bool TryOpen(const std::wstring& path);
    template <class Operation> void Guarded(Operation operation);

    PlaybackPlayer& player_;
    PlaybackView& view_;
    std::wstring entryInPlay_;               // the path given to the last Open that held
    std::optional<double> positionToApply_;  // Play's resume position, until it is set
    bool nextPrepared_ = false;  // the file that follows the open one has been named to the player
    bool inStartWait_ = false;   // Play waits between opening a file and setting its position
    unsigned stops_ = 0;         // Stop clicks so far: one during Play's wait ends that start
};

}  // namespace kv
