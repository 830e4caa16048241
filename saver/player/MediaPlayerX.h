#pragma once
// The media player control of the main window (Mp1): a child window that shows the picture,
// over the playback engines (DirectShow and Media Foundation, see RoutingPlayer), made at the first method call. The control keeps
// the player's state; no call waits for the engine: an open is answered by OnOpened or
// OnOpenFailed, and the calls made while it opens act on the file once it is ready.
#include <memory>
#include <string>

#include "framework/Control.h"
#include "saver/player/MediaEngine.h"
#include "saver/player/PlayerStateMachine.h"
#include "saver/player/MediaTime.h"

namespace kv {

class TMediaPlayerX : public WinControl, private MediaEngineEvents {
public:
    TMediaPlayerX(Component* owner, const ControlArgs& args);
    ~TMediaPlayerX() override;

    // Starts opening the file; it plays by itself once ready. A file that is missing or
    // cannot be played is answered by OnOpenFailed. Throws only when no engine can be made.
    void Open(const std::wstring& path);
    PlayerState State() const { return machine_.State(); }
    // Makes path ready to follow the open file without a gap (see MediaEngine::Prepare).
    void Prepare(const std::wstring& path);
    // Shows or hides the video. Right after a change of file, and while the next file opens,
    // the previous file's last picture stands in for the new one while it is hidden, so the
    // screen never goes black between two files.
    void ShowVideo(bool visible);
    void Play();
    void Stop();
    void Pause();
    double CurrentPosition();  // while a file opens: where it is to start
    void SetCurrentPosition(double seconds);
    double Duration();         // 0 while a file opens
    std::wstring FileName() const { return fileName_; }  // the path last given to Open
    void SetMute(bool mute);

    // Raised on the GUI thread, never inside a call of this control.
    NotifyEvent OnOpened;  // the file given to Open plays (or stands as the calls meanwhile left it)
    std::function<void(const std::string& reason)> OnOpenFailed;  // nothing is open
    NotifyEvent OnEndOfStream;  // once, when the open file has played to its end
    // Once after each open, as soon as the file's position has reached the point where the
    // hidden-video rule lets the picture show: what waits for the file to have begun need not
    // wait for its next timer tick.
    NotifyEvent OnBegun;

protected:
    // The engine, made at the first call that needs it, and its maker (tests give options).
    MediaEngine& Engine();
    virtual std::unique_ptr<MediaEngine> MakeEngine(HWND window, MediaEngineEvents& events);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnTimer(UINT_PTR id) override;
    void OnSize(int width, int height) override;
    void Paint(HDC dc, const RECT& client) override;

private:
    void Apply(const PlayerCommand& command);
    void Transport(const PlayerCommand& command);
    void CheckBegun();
    void EngineOpened() override;
    void EngineFailed(const std::string& reason) override;
    void EngineEnded() override;

    std::unique_ptr<MediaEngine> engine_;
    PlayerStateMachine machine_;
    std::wstring fileName_;
    static constexpr UINT_PTR kWatchTimer = 1;
    static constexpr UINT kWatchIntervalMs = 500;
    static constexpr UINT kRefreshMessage = WM_APP + 2;
    static constexpr UINT_PTR kBegunTimer = 2;
    static constexpr UINT kBegunPollMs = 10;
    static constexpr int kBegunPolls = 50;
    int begunPolls_ = 0;
};

}  // namespace kv
