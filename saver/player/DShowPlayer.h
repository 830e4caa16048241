#pragma once
// Plays one video file at a time through a DirectShow filter graph, drawn inside a window
// the caller owns. No UI of its own; every call on the GUI thread of that window, in a
// single-threaded apartment the caller has entered. Opening a file keeps the window answering
// (its messages are dispatched meanwhile); no other call waits on the graph for long.
#include <windows.h>
#include <dshow.h>

#include <string>

#include "framework/Scoped.h"
#include "saver/player/AnsweringWait.h"
#include "saver/player/EndWatch.h"
#include "saver/player/PictureFit.h"

namespace kv {

class DShowPlayer {
public:
    static constexpr UINT kGraphEventMessage = WM_APP + 1;  // posted to videoWindow
    // Longest waits for a new graph to be built and to start playing before the file counts
    // as unplayable.
    static constexpr DWORD kRenderTimeoutMs = 10000;
    static constexpr DWORD kStartTimeoutMs = 5000;

    // videoWindow: the control's own window. The picture is drawn inside it; graph events are
    // posted to it; the video window's mouse and key messages are routed to it (message drain).
    // wait: how Open waits for DirectShow; by default messages are dispatched as they come.
    explicit DShowPlayer(HWND videoWindow, AnsweringWait wait = {});
    ~DShowPlayer();
    DShowPlayer(const DShowPlayer&) = delete;
    DShowPlayer& operator=(const DShowPlayer&) = delete;

    // Stops and releases the previous graph, builds one for path and starts playing it.
    // Throws kv::Exception when the file is missing or cannot be played, or when a quit request
    // arrives meanwhile; nothing is open then. Messages are dispatched while it works; calls
    // made from them see no file open, and a nested Open throws.
    void Open(const std::wstring& path);
    bool Opening() const { return opening_; }
    void Play();   // resumes after Pause or Stop
    void Stop();
    void Pause();  // CurrentPosition keeps its value
    void Close();  // releases the graph; FileName and Mute stay

    double CurrentPosition() const;          // seconds from start; 0 when nothing open
    void SetCurrentPosition(double seconds); // seek; 0 rewinds; ignored when nothing open
    double Duration() const;                 // seconds; 0 when nothing open
    // Call when videoWindow has been shown again: Wine's renderer does not redraw the picture
    // it drew while hidden, and a clip shorter than the display delay (an MPEG clip of half a
    // second) has no later one to draw. Does nothing at the end or without a picture, and
    // never fails.
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

    bool IsOpen() const { return bool(control_); }
    bool HasVideo() const { return bool(videoWindow_); }
    bool HasAudio() const { return bool(audio_); }
    // Where the picture sits in videoWindow's client area (the whole area without video).
    PictureRect PictureArea() const { return picture_; }

private:
    enum class GraphState { Stopped, Paused, Running };

    void Build(const std::wstring& path);
    ComPtr<IGraphBuilder> Render(const std::wstring& path, IBaseFilter* renderer);
    void AttachVideo();
    void WaitUntilStarted();
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
    int videoWidth_ = 0;
    int videoHeight_ = 0;
    PictureRect picture_;
    EndWatch endWatch_;

    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> control_;
    ComPtr<IMediaEventEx> events_;
    ComPtr<IMediaSeeking> seeking_;
    ComPtr<IVideoWindow> videoWindow_;  // only when a picture is rendered
    ComPtr<IBasicAudio> audio_;         // only when a sound stream is rendered
};

}  // namespace kv
