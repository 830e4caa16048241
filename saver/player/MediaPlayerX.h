#pragma once
// The media player control of the main window (Mp1): a child window that shows the picture,
// over the DirectShow engine. The engine is made at the first method call.
#include <memory>
#include <string>

#include "framework/Control.h"
#include "saver/player/DShowPlayer.h"
#include "saver/window/PlaybackRules.h"

namespace kv {

class TMediaPlayerX : public WinControl {
public:
    TMediaPlayerX(Component* owner, const ControlArgs& args);
    ~TMediaPlayerX() override;

    // Loads the file and starts playing it by itself.
    void Open(const std::wstring& path);
    // True while Open waits for DirectShow (messages are dispatched meanwhile).
    bool Opening() const;
    // Makes path ready to follow the open file without a gap (see DShowPlayer::Prepare).
    void Prepare(const std::wstring& path);
    // Shows or hides the video. Right after a change of file the previous file's last
    // picture stands in for the new one while it is hidden, so the screen never goes black
    // between two files.
    void ShowVideo(bool visible);
    void Stop();
    void Pause();
    double CurrentPosition();
    void SetCurrentPosition(double seconds);
    double Duration();
    std::wstring FileName();
    void SetMute(bool mute);

    // Raised once, on the GUI thread, when the open file has played to its end.
    NotifyEvent OnEndOfStream;
    // Raised once after each Open, as soon as the file's position has reached the point where
    // the hidden-video rule lets the picture show: what waits for the file to have begun need
    // not wait for its next timer tick.
    NotifyEvent OnBegun;
    static constexpr double kBegunSeconds = kVideoShowsFromSeconds;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnTimer(UINT_PTR id) override;
    void OnSize(int width, int height) override;
    void Paint(HDC dc, const RECT& client) override;

private:
    DShowPlayer& Engine();
    void RaiseEndOfStream();
    void CheckBegun();
    void WatchEnd();

    std::unique_ptr<DShowPlayer> engine_;
    static constexpr UINT_PTR kWatchTimer = 1;
    static constexpr UINT kWatchIntervalMs = 500;
    static constexpr UINT kTailWatchMs = 50;
    bool fastWatch_ = false;
    static constexpr UINT kRefreshMessage = DShowPlayer::kGraphEventMessage + 1;
    static constexpr UINT_PTR kBegunTimer = 2;
    static constexpr UINT kBegunPollMs = 10;
    static constexpr int kBegunPolls = 50;
    int begunPolls_ = 0;
};

}  // namespace kv
