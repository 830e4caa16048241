#include "saver/player/RoutingPlayer.h"

#include "saver/player/DShowPlayer.h"
#include "saver/player/MFPlayer.h"

namespace kv {

std::unique_ptr<MediaEngine> RoutingPlayer::MakeSystemEngine(EngineKind kind, HWND window, MediaEngineEvents& events) {
    if (kind == EngineKind::DirectShow) return std::make_unique<DShowPlayer>(window, events);
    if (!MFPlayer::Available()) return nullptr;
    return std::make_unique<MFPlayer>(window, events);
}

RoutingPlayer::RoutingPlayer(HWND window, MediaEngineEvents& events, const EngineMaker& make)
    : events_(events),
      relays_{{*this, EngineKind::DirectShow}, {*this, EngineKind::MediaFoundation}},
      make_(make),
      window_(window) {
    Made(EngineKind::DirectShow);
}

// Media Foundation is loaded when a file first needs it: a playlist of DirectShow's files
// starts without the cost.
MediaEngine* RoutingPlayer::Made(EngineKind kind) {
    int k = int(kind);
    if (!made_[k]) {
        made_[k] = true;
        engines_[k] = make_(kind, window_, relays_[k]);
        if (engines_[k] && mute_) engines_[k]->SetMute(*mute_);
        if (engines_[k] && size_) engines_[k]->Resize(size_->first, size_->second);
    }
    return engines_[k].get();
}

void RoutingPlayer::Load(const std::wstring& path) {
    path_ = path;
    order_ = EnginesFor(path, true);
    tried_ = 0;
    firstFailure_.clear();
    handOver_.reset();
    run_ = RunState::Play;
    OfferNext("No way of playing files is available.");
}

// The file goes to the next engine of its order that is on this system; none left, it fails.
void RoutingPlayer::OfferNext(const std::string& reason) {
    for (; tried_ < order_.size(); ++tried_)
        if (Made(order_[tried_])) {
            Offer(order_[tried_]);
            return;
        }
    active_.reset();
    handOver_.reset();
    standIn_ = false;
    LetGoOfLeaving();
    // The file's own engine says best why it cannot be played.
    events_.EngineFailed(firstFailure_.empty() ? reason : firstFailure_);
}

// The file goes to kind. The other engine's file stops, its last picture standing in.
void RoutingPlayer::Offer(EngineKind kind) {
    if (leaving_ == kind) leaving_.reset();  // its own Load hands its picture over
    if (active_ && *active_ != kind) {
        LetGoOfLeaving();
        try {
            Engine(*active_)->Stop();
            leaving_ = active_;
            standIn_ = true;
        } catch (const std::exception&) {
            Engine(*active_)->Close();
        }
    }
    active_ = kind;
    Engine(kind)->Load(path_);
}

void RoutingPlayer::LetGoOfLeaving() {
    if (leaving_) Engine(*std::exchange(leaving_, std::nullopt))->Close();
}

void RoutingPlayer::Opened(EngineKind kind) {
    if (active_ != kind) return;
    LetGoOfLeaving();
    if (!handOver_) {
        events_.EngineOpened();
        return;
    }
    // The caller's file goes on here, where and as it was.
    HandOver handOver = *std::exchange(handOver_, std::nullopt);
    MediaEngine& engine = *Engine(kind);
    try {
        engine.SetPosition(handOver.at);
        // A loaded file stands paused on its first picture.
        switch (run_) {
        case RunState::Play: engine.Run(); break;
        case RunState::Pause: engine.Pause(); break;
        case RunState::Stop: engine.Stop(); break;
        }
    } catch (const std::exception& e) {
        engine.Close();
        events_.EngineFailed(e.what());
    }
}

void RoutingPlayer::Failed(EngineKind kind, const std::string& reason) {
    if (active_ != kind) return;
    if (firstFailure_.empty()) firstFailure_ = reason;
    active_.reset();
    ++tried_;
    OfferNext(reason);
}

void RoutingPlayer::Ended(EngineKind kind) {
    if (active_ == kind && !handOver_) events_.EngineEnded();
}

void RoutingPlayer::CannotSeek(EngineKind kind, double seconds) {
    if (active_ != kind || handOver_ || tried_ + 1 >= order_.size() || !Made(order_[tried_ + 1])) return;
    handOver_ = HandOver{seconds, Engine(kind)->Duration()};
    Offer(order_[++tried_]);
}

void RoutingPlayer::Prepare(const std::wstring& path) {
    if (MediaEngine* engine = Made(EnginesFor(path, true).front())) engine->Prepare(path);
}

void RoutingPlayer::Close() {
    standIn_ = false;
    handOver_.reset();
    active_.reset();
    leaving_.reset();
    for (auto& engine : engines_)
        if (engine) engine->Close();
}

void RoutingPlayer::Run() {
    run_ = RunState::Play;
    if (!handOver_ && ActiveEngine()) ActiveEngine()->Run();
}

void RoutingPlayer::Pause() {
    run_ = RunState::Pause;
    if (!handOver_ && ActiveEngine()) ActiveEngine()->Pause();
}

void RoutingPlayer::Stop() {
    run_ = RunState::Stop;
    if (!handOver_ && ActiveEngine()) ActiveEngine()->Stop();
}

double RoutingPlayer::Position() const {
    if (handOver_) return handOver_->at;
    return ActiveEngine() ? ActiveEngine()->Position() : 0;
}

void RoutingPlayer::SetPosition(double seconds) {
    if (handOver_)
        handOver_->at = seconds;
    else if (ActiveEngine())
        ActiveEngine()->SetPosition(seconds);
}

double RoutingPlayer::Duration() const {
    if (handOver_) return handOver_->duration;
    return ActiveEngine() ? ActiveEngine()->Duration() : 0;
}

void RoutingPlayer::SetMute(bool mute) {
    mute_ = mute;
    for (auto& engine : engines_)
        if (engine) engine->SetMute(mute);
}

bool RoutingPlayer::HandleMessage(UINT message, WPARAM wp, LPARAM lp) {
    for (auto& engine : engines_)
        if (engine && engine->HandleMessage(message, wp, lp)) return true;
    return false;
}

void RoutingPlayer::Watch(unsigned long nowMs) {
    for (auto& engine : engines_)
        if (engine) engine->Watch(nowMs);
}

void RoutingPlayer::Resize(int clientWidth, int clientHeight) {
    size_ = {clientWidth, clientHeight};
    for (auto& engine : engines_)
        if (engine) engine->Resize(clientWidth, clientHeight);
}

void RoutingPlayer::PaintBackground(HDC dc) const {
    if (MediaEngine* painter = leaving_ ? Engine(*leaving_) : ActiveEngine()) {
        painter->PaintBackground(dc);
        return;
    }
    RECT client{};
    if (GetClipBox(dc, &client) != ERROR) FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void RoutingPlayer::RefreshPicture() {
    if (MediaEngine* painter = leaving_ ? Engine(*leaving_) : ActiveEngine()) painter->RefreshPicture();
}

PictureRect RoutingPlayer::PictureArea() const {
    if (MediaEngine* engine = ActiveEngine() ? ActiveEngine() : Engine(EngineKind::DirectShow)) return engine->PictureArea();
    return {};
}

bool RoutingPlayer::HasVideo() const { return ActiveEngine() && ActiveEngine()->HasVideo(); }

bool RoutingPlayer::ShowingLastPicture() const {
    return standIn_ || (ActiveEngine() && ActiveEngine()->ShowingLastPicture());
}

void RoutingPlayer::RevealSurface() {
    standIn_ = false;
    LetGoOfLeaving();
    if (ActiveEngine()) ActiveEngine()->RevealSurface();
}

}  // namespace kv
