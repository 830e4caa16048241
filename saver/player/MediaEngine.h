#pragma once
// One way of playing files beneath the media player control (DirectShow, Media Foundation). The control
// keeps the state (PlayerStateMachine); an engine does what it is told and tells what happens
// through MediaEngineEvents. No call of an engine waits: work that takes time runs elsewhere
// and its end comes back as a message to the control's window, which hands it to
// HandleMessage. Events are raised only from HandleMessage and Watch, never inside a call.
#include <windows.h>

#include <string>

#include "saver/player/PictureFit.h"

namespace kv {

class MediaEngineEvents {
public:
    virtual ~MediaEngineEvents() = default;
    // The file given to Load stands ready, paused on its first picture, its surface hidden.
    virtual void EngineOpened() = 0;
    // The file given to Load cannot be played; nothing is open.
    virtual void EngineFailed(const std::string& reason) = 0;
    // The open file has played to its end (once per file).
    virtual void EngineEnded() = 0;
    // The open file would not go to seconds (it plays on where it was): another engine may
    // take it there. Ignored by a caller with no other engine.
    virtual void EngineCannotSeek(double seconds) { (void)seconds; }
};

class MediaEngine {
public:
    virtual ~MediaEngine() = default;

    // Starts making path the open file; the previous file stops, its last picture standing
    // in until the new file has begun (RevealSurface). EngineOpened or EngineFailed follows.
    virtual void Load(const std::wstring& path) = 0;
    // Makes path ready ahead of its Load, while the open file plays; never fails for it.
    virtual void Prepare(const std::wstring& path) = 0;
    virtual void Close() = 0;  // nothing open; the engine keeps its resources for the next file

    // The open file's transport; nothing happens when no file is open.
    virtual void Run() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual double Position() const = 0;  // seconds; 0 when nothing is open
    virtual void SetPosition(double seconds) = 0;
    virtual double Duration() const = 0;  // seconds; 0 when nothing is open or not known
    virtual void SetMute(bool mute) = 0;  // applies now and to every later file

    // A message posted to the control's window; true when it was the engine's.
    virtual bool HandleMessage(UINT message, WPARAM wp, LPARAM lp) = 0;
    // Called about twice a second: ends that the file never reports, work that overran its time.
    virtual void Watch(unsigned long nowMs) = 0;

    // The picture inside the control's window.
    virtual void Resize(int clientWidth, int clientHeight) = 0;
    virtual void PaintBackground(HDC dc) const = 0;
    virtual void RefreshPicture() = 0;  // after the window was shown again
    virtual PictureRect PictureArea() const = 0;
    virtual bool HasVideo() const = 0;
    // The previous file's last picture stands in for the new one (see Load).
    virtual bool ShowingLastPicture() const = 0;
    virtual void RevealSurface() = 0;
};

}  // namespace kv
