#include "saver/player/MediaPlayerX.h"

#include "framework/Application.h"
#include "saver/player/RoutingPlayer.h"

namespace kv {

TMediaPlayerX::TMediaPlayerX(Component* owner, const ControlArgs& args) : WinControl(owner, args) {
    color_ = clBlack;
}

TMediaPlayerX::~TMediaPlayerX() {
    if (hwnd_) KillTimer(hwnd_, kWatchTimer);
    if (hwnd_) KillTimer(hwnd_, kBegunTimer);
    // The engine goes before the window that receives its messages; it joins its threads.
    engine_.reset();
}

std::unique_ptr<MediaEngine> TMediaPlayerX::MakeEngine(HWND window, MediaEngineEvents& events) {
    return std::make_unique<RoutingPlayer>(window, events);
}

MediaEngine& TMediaPlayerX::Engine() {
    if (!engine_) {
        engine_ = MakeEngine(hwnd_, *this);
        RECT rc;
        GetClientRect(hwnd_, &rc);
        engine_->Resize(rc.right, rc.bottom);
        // Catches a clip whose clock runs past the end without the graph saying so, and a
        // file that takes too long to build. Both rules wait seconds anyway; a slow check
        // keeps the idle saver's own work small.
        SetTimer(hwnd_, kWatchTimer, kWatchIntervalMs, nullptr);
    }
    return *engine_;
}

void TMediaPlayerX::Open(const std::wstring& path) {
    fileName_ = path;
    KillTimer(hwnd_, kBegunTimer);
    // A run that is ending opens nothing more: building a graph would hold up its end.
    if (Application.Terminated()) {
        machine_.Close();
        if (engine_) engine_->Close();
        return;
    }
    machine_.Open();
    try {
        Engine().Load(path);
    } catch (const std::exception&) {
        machine_.Close();
        throw;
    }
}

void TMediaPlayerX::EngineOpened() {
    PlayerCommand command = machine_.Opened();
    try {
        Apply(command);
    } catch (const std::exception& e) {
        // A file that cannot start is one that cannot be played.
        engine_->Close();
        EngineFailed(e.what());
        return;
    }
    begunPolls_ = kBegunPolls;
    SetTimer(hwnd_, kBegunTimer, kBegunPollMs, nullptr);
    if (OnOpened) Application.Guard([&] { OnOpened(); });
}

void TMediaPlayerX::EngineFailed(const std::string& reason) {
    machine_.Close();
    if (OnOpenFailed) Application.Guard([&] { OnOpenFailed(reason); });
}

void TMediaPlayerX::EngineEnded() {
    if (OnEndOfStream) Application.Guard([&] { OnEndOfStream(); });
}

void TMediaPlayerX::Apply(const PlayerCommand& command) {
    if (command.seek) engine_->SetPosition(*command.seek);
    switch (command.run) {
    case PlayerCommand::Run::Play: engine_->Run(); break;
    case PlayerCommand::Run::Pause: engine_->Pause(); break;
    case PlayerCommand::Run::Stop: engine_->Stop(); break;
    case PlayerCommand::Run::Keep: break;
    }
}

// A call made while the file opens is the user's own: the previous picture stops standing in.
void TMediaPlayerX::Transport(const PlayerCommand& command) {
    if (machine_.Opening() && engine_) engine_->RevealSurface();
    if (engine_) Apply(command);
}

void TMediaPlayerX::CheckBegun() {
    bool begun = false;
    try {
        begun = machine_.State() != PlayerState::Empty && !machine_.Opening() &&
                engine_->Position() >= kBegunSeconds;
    } catch (const std::exception&) {
        begunPolls_ = 0;  // the timer's own reading reports what fails
    }
    if (!begun && --begunPolls_ > 0) return;
    KillTimer(hwnd_, kBegunTimer);
    if (begun && OnBegun) Application.Guard([&] { OnBegun(); });
}

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

void TMediaPlayerX::Play() { Transport(machine_.Play()); }
void TMediaPlayerX::Stop() { Transport(machine_.Stop()); }
void TMediaPlayerX::Pause() { Transport(machine_.Pause()); }
void TMediaPlayerX::SetCurrentPosition(double seconds) { Transport(machine_.Seek(seconds)); }

double TMediaPlayerX::CurrentPosition() {
    if (machine_.Opening()) return machine_.StartPosition();
    return machine_.State() == PlayerState::Empty ? 0 : Engine().Position();
}

double TMediaPlayerX::Duration() {
    return machine_.State() == PlayerState::Empty || machine_.Opening() ? 0 : Engine().Duration();
}

void TMediaPlayerX::SetMute(bool mute) { Engine().SetMute(mute); }

void TMediaPlayerX::Paint(HDC dc, const RECT& client) {
    if (engine_)
        engine_->PaintBackground(dc);
    else
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

LRESULT TMediaPlayerX::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (engine_ && engine_->HandleMessage(msg, wp, lp)) return 0;
    switch (msg) {
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
    if (engine_) engine_->Watch(GetTickCount());
    return true;
}

void TMediaPlayerX::OnSize(int width, int height) {
    if (engine_) engine_->Resize(width, height);
}

}  // namespace kv
