#include "saver/player/MediaPlayerX.h"

#include "framework/Application.h"
#include "framework/Exception.h"

namespace kv {

TMediaPlayerX::TMediaPlayerX(Component* owner, const ControlArgs& args) : WinControl(owner, args) {
    color_ = clBlack;
}

TMediaPlayerX::~TMediaPlayerX() {
    if (hwnd_) KillTimer(hwnd_, kWatchTimer);
    if (hwnd_) KillTimer(hwnd_, kBegunTimer);
    // The graph goes before the window that receives its events.
    engine_.reset();
}

DShowPlayer& TMediaPlayerX::Engine() {
    if (!engine_) {
        // While DirectShow works, messages go through the application's loop rules (key
        // preview, the sticky quit request).
        engine_ = std::make_unique<DShowPlayer>(
            hwnd_, [](HANDLE handle, DWORD ms) { return Application.WaitFor(handle, ms); });
        RECT rc;
        GetClientRect(hwnd_, &rc);
        engine_->Resize(rc.right, rc.bottom);
        // Catches a clip whose clock runs past the end without the graph saying so. The rule
        // waits a second anyway; a slower check keeps the idle saver's own work small.
        SetTimer(hwnd_, kWatchTimer, kWatchIntervalMs, nullptr);
    }
    return *engine_;
}

void TMediaPlayerX::Open(const std::wstring& path) {
    // A run that is ending opens nothing more: building a graph would hold up its end.
    if (Application.Terminated()) throw Exception("The run is ending");
    Engine().Open(path);
    begunPolls_ = kBegunPolls;
    SetTimer(hwnd_, kBegunTimer, kBegunPollMs, nullptr);
}

void TMediaPlayerX::CheckBegun() {
    bool begun = false;
    try {
        begun = engine_ && engine_->IsOpen() && engine_->CurrentPosition() >= kBegunSeconds;
    } catch (...) {
        begunPolls_ = 0;  // the timer's own reading reports what fails
    }
    if (!begun && --begunPolls_ > 0) return;
    KillTimer(hwnd_, kBegunTimer);
    if (begun && OnBegun) Application.Guard([&] { OnBegun(); });
}
bool TMediaPlayerX::Opening() const { return engine_ && engine_->Opening(); }

void TMediaPlayerX::Prepare(const std::wstring& path) {
    if (!Application.Terminated()) Engine().Prepare(path);
}

void TMediaPlayerX::ShowVideo(bool visible) {
    if (engine_ && engine_->ShowingLastPicture()) {
        if (!visible && Visible()) return;
        engine_->RevealSurface();
    }
    SetVisible(visible);
}
void TMediaPlayerX::Stop() { Engine().Stop(); }
void TMediaPlayerX::Pause() { Engine().Pause(); }
double TMediaPlayerX::CurrentPosition() { return Engine().CurrentPosition(); }
void TMediaPlayerX::SetCurrentPosition(double seconds) { Engine().SetCurrentPosition(seconds); }
double TMediaPlayerX::Duration() { return Engine().Duration(); }
std::wstring TMediaPlayerX::FileName() { return Engine().FileName(); }
void TMediaPlayerX::SetMute(bool mute) { Engine().SetMute(mute); }

void TMediaPlayerX::RaiseEndOfStream() {
    if (OnEndOfStream) Application.Guard([&] { OnEndOfStream(); });
}

// While the last pictures of an ended file are drawn, the watch looks often, so the next
// file follows the last picture closely.
void TMediaPlayerX::WatchEnd() {
    bool fast = engine_ && engine_->EndPending();
    if (fast == fastWatch_) return;
    fastWatch_ = fast;
    SetTimer(hwnd_, kWatchTimer, fast ? kTailWatchMs : kWatchIntervalMs, nullptr);
}

void TMediaPlayerX::Paint(HDC dc, const RECT& client) {
    if (engine_)
        engine_->PaintBackground(dc);
    else
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

LRESULT TMediaPlayerX::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case DShowPlayer::kGraphEventMessage:
        // The events are drained first; the handler may then replace the graph.
        if (engine_ && engine_->HandleGraphEvent()) RaiseEndOfStream();
        WatchEnd();
        return 0;
    case kRefreshMessage:
        if (engine_) engine_->RefreshPicture();
        return 0;
    case WM_SHOWWINDOW:
        // Once the show is complete, the renderer draws the current picture again.
        if (wp && engine_) PostMessageW(hwnd_, kRefreshMessage, 0, 0);
        break;
    default:
        break;
    }
    return WinControl::WndProc(msg, wp, lp);
}

bool TMediaPlayerX::OnTimer(UINT_PTR id) {
    if (id == kBegunTimer) {
        CheckBegun();
        return true;
    }
    if (id != kWatchTimer) return false;
    bool ended = engine_ && engine_->CheckStalledEnd(GetTickCount());
    WatchEnd();
    if (ended) RaiseEndOfStream();
    return true;
}

void TMediaPlayerX::OnSize(int width, int height) {
    if (engine_) engine_->Resize(width, height);
}

}  // namespace kv
