#pragma once
// Plays one video file at a time through DirectShow, drawn inside a window the caller owns.
// No UI of its own; every call on the GUI thread of that window, in a single-threaded
// apartment the caller has entered. Opening a file keeps the window answering (its messages
// are dispatched meanwhile); no other call waits on the graph for long.
// Two graphs take turns: while one plays, the next file can be made ready in the other, so
// that the change between files shows no black (Prepare, then Open the same path). The
// graphs and their renderers last as long as the player.
#include <windows.h>
#include <dshow.h>

#include <memory>
#include <string>

#include "framework/Scoped.h"
#include "saver/player/AnsweringWait.h"
#include "saver/player/EndWatch.h"
#include "saver/player/GraphSlot.h"
#include "saver/player/PictureFit.h"

namespace kv {

class DShowPlayer {
public:
    static constexpr UINT kGraphEventMessage = WM_APP + 1;  // posted to videoWindow
    // Longest waits for a new graph to be built and to start playing before the file counts
    // as unplayable.
    static constexpr DWORD kRenderTimeoutMs = 10000;
    static constexpr DWORD kStartTimeoutMs = GraphSlot::kPrerollTimeoutMs;

    // videoWindow: the control's own window. The picture is drawn inside it; graph events are
    // posted to it; the video window's mouse and key messages are routed to it (message drain).
    // wait: how Open waits for DirectShow; by default messages are dispatched as they come.
    explicit DShowPlayer(HWND videoWindow, AnsweringWait wait = {});
    ~DShowPlayer();
    DShowPlayer(const DShowPlayer&) = delete;
    DShowPlayer& operator=(const DShowPlayer&) = delete;

    // Stops the previous file and starts playing path: at once when Prepare made it ready or
    // when it is the file that has just ended (it starts again), otherwise once it is built.
    // Throws kv::Exception when the file is missing or cannot be played, or when a quit request
    // arrives meanwhile; nothing is open then. Messages are dispatched while it works; calls
    // made from them see no file open, and a nested Open throws.
    void Open(const std::wstring& path);
    bool Opening() const { return opening_; }
    // Starts making path ready in the spare graph while the current file plays; a later
    // Open(path) then starts it at once. Never waits and never throws for the file: its
    // failure is Open's. Does nothing when the spare graph is busy.
    void Prepare(const std::wstring& path);
    void Play();   // resumes after Pause or Stop
    void Stop();
    void Pause();  // CurrentPosition keeps its value
    void Close();  // releases the graphs; FileName and Mute stay

    double CurrentPosition() const;          // seconds from start; 0 when nothing open
    void SetCurrentPosition(double seconds); // seek; 0 rewinds; ignored when nothing open
    double Duration() const;                 // seconds; 0 when nothing open
    // Call when videoWindow has been shown again: Wine's renderer does not redraw the picture
    // it drew while hidden, and an MPEG file's next picture may be half a second away. Draws
    // the file's first picture again while the file is near its start.
    void RefreshPicture();
    const std::wstring& FileName() const { return fileName_; }  // the path last given to Open

    void SetMute(bool mute);  // applies now and to every later file
    bool Mute() const { return mute_; }

    // On kGraphEventMessage: drains the graph's events; true when the file has ended (once).
    bool HandleGraphEvent();
    // Call every ~100 ms; true once when playback has stood at the end for over a second
    // without the graph saying so, or when the last pictures after the graph's end are drawn.
    bool CheckStalledEnd(unsigned long nowMs);
    // The graph has ended and its last pictures are still being drawn: check often.
    bool EndPending() const { return endWatch_.Draining(); }

    // New client size of videoWindow: the picture keeps its aspect ratio, centred.
    void Resize(int clientWidth, int clientHeight);
    // Fills the part of videoWindow's client area the picture does not cover with black.
    void PaintBackground(HDC dc) const;

    // After a change of file the previous file's last picture stays on screen, and the new
    // file's surface stays hidden, until RevealSurface (or any Stop, Pause, Play or seek).
    bool ShowingLastPicture() const { return handover_ != nullptr; }
    void RevealSurface();

    bool IsOpen() const { return current_ != nullptr; }
    bool HasVideo() const { return current_ && current_->HasVideo(); }
    bool HasAudio() const { return current_ && current_->HasAudio(); }
    // Where the picture sits in videoWindow's client area (the whole area without video).
    PictureRect PictureArea() const { return picture_; }

private:
    enum class GraphState { Stopped, Paused, Running };

    GraphSlot& Spare();
    GraphSlot& Load(const std::wstring& path);
    void WaitForLoad(GraphSlot& slot);
    void SwitchTo(GraphSlot& slot);
    void Rewind();
    void CloseCurrent();
    void ChangeState(GraphState state);
    void ApplyVolume();
    void PlaceVideo();

    HWND window_;
    std::wstring fileName_;
    AnsweringWait wait_;
    bool mute_ = false;
    bool opening_ = false;
    GraphState state_ = GraphState::Stopped;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    PictureRect picture_;
    EndWatch endWatch_;

    std::unique_ptr<GraphSlot> slots_[2];  // made when first needed
    GraphSlot* current_ = nullptr;         // the open file's graph
    GraphSlot* handover_ = nullptr;        // the previous file's, while its last picture shows
};

}  // namespace kv
