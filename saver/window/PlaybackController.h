#pragma once
// Plays the playlist through the media player: the Play/Pause toggle, Stop, the advance at the
// end of a file, the 100 ms timer and the seeks. Pure; the main window implements the player
// and view interfaces and forwards its handlers and the player's events here. No call waits:
// an open is answered by FileOpened or FileFailed, the half second before Play's resume seek
// is a one-shot timer of the view, and what comes in between is decided by the phase.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The media player as the controller uses it, whatever engine plays the file. Failures are
// thrown (any std::exception). Calls made while a file opens act on it once it is ready.
class PlaybackPlayer {
public:
    virtual ~PlaybackPlayer() = default;
    // Starts opening path; it plays by itself once ready. The answer is FileOpened or
    // FileFailed, later; a throw is a failure of this file, answered at once.
    virtual void Open(const std::wstring& path) = 0;
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    virtual double CurrentPosition() = 0;  // while a file opens: where it is to start
    virtual void SetCurrentPosition(double seconds) = 0;
    virtual double Duration() = 0;  // 0 while a file opens
    virtual void SetVisible(bool visible) = 0;  // show / hide the player control
    // The file that will probably be opened next: the player may make it ready meanwhile.
    virtual void Prepare(const std::wstring& /*path*/) {}
};

// The main window as the controller uses it. None of its calls dispatches messages.
class PlaybackView {
public:
    virtual ~PlaybackView() = default;
    virtual int PlaylistCount() = 0;
    virtual std::wstring PlaylistPath(int index) = 0;
    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool ConfigurationMode() = 0;              // the configuration panel is up
    virtual void ShowPauseImage(bool pauseImage) = 0;  // Play button: pause image or play image
    // Shows the preview area, makes it the player's parent, lets the player fill it and
    // shows the player.
    virtual void AttachPlayerToPreview() = 0;
    // A one-shot timer: ResumeWaitOver kResumeWaitMs later, unless cancelled (or started
    // again) first.
    virtual void StartResumeWait() = 0;
    virtual void CancelResumeWait() = 0;
    virtual void RepaintWindow() = 0;
    virtual int ProgressMax() = 0;
    virtual void SetProgressMax(int max) = 0;
    virtual int ProgressPosition() = 0;
    virtual void SetProgressPosition(int position) = 0;  // the bar keeps it within 0..max
    virtual int ProgressWidth() = 0;
    // A failure the controller keeps from the user: it still goes to the debugger's output.
    virtual void LogFailure(const std::string& /*reason*/) {}
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

// Where the controller stands between its calls:
//   Idle --Play--> Starting --opened--> ResumeWait --timer--> Idle (IsPlaying)
//   Idle --end of file--> Advancing --opened--> Idle;  a failed open: on to the next entry
//   Stop, from any phase: Idle, the file stopped and rewound.
enum class PlaybackPhase { Idle, Starting, ResumeWait, Advancing };

// Failures: in configuration mode Play's second half and the progress click stay silent and
// the other operations let player failures out to the caller's error report. In full-screen
// and preview mode nothing escapes (no one could answer an error box over the saver), and a
// file that exists but cannot be played is skipped as a missing one is.
class PlaybackController {
public:
    PlaybackController(PlaybackPlayer& player, PlaybackView& view);

    PlaybackState State;
    PlaybackPhase Phase() const { return phase_; }

    void PlayClick();           // play/pause toggle; also the start of a full-screen run
    void StopClick();           // rewind, pause, hide the video
    void EndOfStream();         // the player's end of a file: open the next entry
    void TimerTick();           // every 100 ms: progress bar, video visibility, deferred resume
    void SeekBy(int seconds);   // the seek keys
    void ProgressClick(int x);  // left button on the progress bar, x inside the bar

    // The player's answers to Open.
    void FileOpened();
    void FileFailed(const std::string& reason);
    // The view's one-shot timer: Play's half second after opening is over.
    void ResumeWaitOver();

    // The record to store at close: the entry that plays or is being opened, at the position
    // it plays at or is to start at. nullopt when nothing plays: never started, stopped, or
    // nothing could be opened. Player failures go up.
    std::optional<ResumeRecord> ResumeRecordAtClose();

private:
    void Pause();
    void StartCurrentEntry();
    void Advance();
    void AdvanceFrom(int32_t tried);
    bool BeginOpen(PlaybackPhase phase, const std::wstring& path);
    void FinishStart(bool seek);
    double TakeEarlySeeks(double position, double duration);
    void PrepareNext();
    template <class Operation> void Guarded(Operation operation);

    PlaybackPlayer& player_;
    PlaybackView& view_;
    PlaybackPhase phase_ = PlaybackPhase::Idle;
    std::wstring entryInPlay_;  // the file opened last, or being opened; empty when none plays
    double startAt_ = 0;        // where the file being started or opened is to start
    // Seeks asked for before the file opened: absolute positions, or whole seconds to move.
    struct EarlySeek {
        bool absolute;
        double value;
    };
    std::vector<EarlySeek> earlySeeks_;
    bool toggleWaits_ = false;  // a Play click came during a start: it pauses once started
    int32_t lapTried_ = 0;      // entries tried so far in this advance
    std::string failure_;       // why the player refused the last open at once
    bool nextPrepared_ = false; // the file that follows the open one has been named to the player
};

}  // namespace kv
