#pragma once
// One file in a Media Foundation media session: its source, a topology of the file's picture
// into a sample grabber (drawn by us with GDI: Wine's video renderer deadlocks its session)
// and its sound into the audio renderer, and the session's clock.
//
// Nothing here waits. Media Foundation answers on its own threads; each answer is posted to
// the window as kEventMessage (wParam: the session's number, lParam: an MFSession::Event),
// a picture that has come as kFrameMessage. The session object goes when its owner lets go
// of it, but the session itself is retired on Media Foundation's threads: stopped, closed and
// shut down, each step on the previous one's event. Wine's session can deadlock a Close while
// it plays and never end one, so nobody waits for that; a retired session that never closes
// is left to the process's end, which does not wait for it either (EndWithoutDetach).
//
// Apartments: Media Foundation's objects are free-threaded. The window's thread makes the
// session and calls it; the callbacks run in Media Foundation's work queues, touch only the
// shared state below under its lock, and post.
#include <windows.h>
#include <propidl.h>
#include <mfidl.h>


#include <memory>
#include <string>

#include "framework/Scoped.h"
#include <vector>

namespace kv {

class MFSession {
public:
    static constexpr UINT kEventMessage = WM_APP + 5;
    static constexpr UINT kFrameMessage = WM_APP + 6;

    enum class Event : LPARAM {
        None,         // nothing for the owner
        Failed,   // the file cannot be opened or played: see Failure()
        Ready,        // the topology is resolved: Start may follow
        Started,
        Paused,
        Stopped,
        Ended,        // the file has played to its end
    };

    // Whether Media Foundation is on this system (loaded and started once, for good).
    static bool Available();

    // Starts opening path; Ready or Failed follows. Throws when no session can be made.
    MFSession(HWND window, WPARAM number, const std::wstring& path);
    // Retires the session (see above); no more messages come from it.
    ~MFSession();
    MFSession(const MFSession&) = delete;
    MFSession& operator=(const MFSession&) = delete;

    WPARAM Number() const { return number_; }
    const std::wstring& Path() const { return path_; }
    // On each of its messages: what happened, with what the session knows then.
    Event Take(LPARAM message);
    HRESULT Failure() const;
    bool IsReady() const { return ready_; }

    // The transport (after Ready). Start at a position; Resume from where it stands.
    void Start(double seconds);
    void Resume();
    void Pause();
    void Stop();
    double ClockSeconds() const;  // the presentation clock: 0 before the first start
    double Duration() const { return duration_; }
    // Muted before Ready, the file's sound is not rendered at all: Wine's audio renderer leaves
    // a thread behind with every session that goes (and a lasting one, shared by the sessions
    // in turn, stops ending them). Unmuted later, its sound comes with the next file.
    void SetMute(bool mute);

    bool HasVideo() const { return videoWidth_ > 0; }
    bool HasAudio() const { return hasAudio_; }
    int VideoWidth() const { return displayWidth_; }  // display width (aspect ratio applied)
    int VideoHeight() const { return videoHeight_; }
    // A picture has come.
    bool HasFrame() const;
    // On kFrameMessage: the next picture may post again; true when there is one to draw.
    bool TakeFrame();
    // Draws the newest picture into dest of dc (nothing before the first).
    void DrawFrame(HDC dc, const RECT& dest) const;

    // Ends the process. Once a session has been made, without unloading the libraries: Media
    // Foundation's threads may still be retiring sessions, and Wine's crash in their unloading.
    [[noreturn]] static void EndProcess(UINT code);

    struct Shared;  // what the session's callbacks share with the window's thread

private:
    void Build();
    void StartAt(const PROPVARIANT& at);

    std::shared_ptr<Shared> shared_;
    ComPtr<IMFPresentationClock> clock_;
    WPARAM number_;
    std::wstring path_;
    bool ready_ = false;
    bool hasAudio_ = false;  // its sound is rendered
    bool muted_ = false;
    double duration_ = 0;
    int videoWidth_ = 0;
    int videoHeight_ = 0;
    int displayWidth_ = 0;
};

}  // namespace kv
