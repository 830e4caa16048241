#include "saver/player/MFPlayer.h"

#include <algorithm>
#include <utility>

#include "framework/FileExists.h"
#include "saver/player/GraphFailure.h"
#include "saver/player/Letterbox.h"

namespace kv {
MFPlayer::MFPlayer(HWND window, MediaEngineEvents& events) : window_(window), events_(events) {
    RECT client{};
    if (GetClientRect(window_, &client)) {
        clientWidth_ = client.right;
        clientHeight_ = client.bottom;
    }
    picture_ = FitPicture(clientWidth_, clientHeight_, 0, 0);
}

MFPlayer::~MFPlayer() = default;

MFSession* MFPlayer::Find(WPARAM number) const {
    for (const auto* session : {&opening_, &current_, &prepared_, &previous_})
        if (*session && (*session)->Number() == number) return session->get();
    return nullptr;
}

void MFPlayer::Load(const std::wstring& path) {
    opening_.reset();
    failing_ = 0;
    openStartedMs_ = GetTickCount();
    if (current_ && current_->Path() == path && sessionEnded_) {
        // The file that has just ended starts again in its own session.
        opening_ = std::move(current_);
        StartOpening();
        return;
    }
    if (current_) {
        try {
            current_->Stop();
        } catch (const std::exception&) {
            // it goes anyway: retiring stops it again
        }
        previous_ = std::move(current_);
    }
    standIn_ = previous_ && previous_->HasFrame();
    if (!standIn_) previous_.reset();
    DWORD missing = FileMissingReason(path);
    HRESULT result = HRESULT_FROM_WIN32(missing);
    if (!missing) {
        if (prepared_ && prepared_->Path() == path) {
            opening_ = std::move(prepared_);
        } else {
            prepared_.reset();
            try {
                opening_ = MakeSession(path);
            } catch (const std::exception&) {
                result = E_FAIL;
            }
        }
    }
    if (!opening_) {
        // Answered as a message, like every open: never inside the caller's call.
        failing_ = nextNumber_++;
        PostMessageW(window_, kFailMessage, failing_, LPARAM(FAILED(result) ? result : E_FAIL));
        return;
    }
    if (opening_->IsReady()) StartOpening();
}

std::unique_ptr<MFSession> MFPlayer::MakeSession(const std::wstring& path) {
    auto session = std::make_unique<MFSession>(window_, nextNumber_++, path);
    session->SetMute(mute_);  // before its topology: a muted file's sound is not rendered
    return session;
}

void MFPlayer::StartOpening() {
    try {
        opening_->SetMute(mute_);
        opening_->Start(0);
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

void MFPlayer::Prepare(const std::wstring& path) {
    if (path.empty() || opening_ || (prepared_ && prepared_->Path() == path) || FileMissingReason(path)) return;
    if (current_ && current_->Path() == path) return;  // it starts again in its own session
    try {
        prepared_ = MakeSession(path);
    } catch (const std::exception&) {
        prepared_.reset();  // the open itself will say why
    }
}

void MFPlayer::Close() {
    opening_.reset();
    current_.reset();
    previous_.reset();
    failing_ = 0;
    standIn_ = false;
    picture_ = FitPicture(clientWidth_, clientHeight_, 0, 0);
    InvalidateRect(window_, nullptr, FALSE);
}

void MFPlayer::Fail(const std::string& reason) {
    Close();
    events_.EngineFailed(reason);
}

bool MFPlayer::HandleMessage(UINT message, WPARAM wp, LPARAM lp) {
    if (message == kFailMessage) {
        if (wp == failing_ && failing_ != 0) Fail(DescribeFailure(HRESULT(lp)));
        return true;
    }
    if (message != MFSession::kEventMessage && message != MFSession::kFrameMessage) return false;
    MFSession* session = Find(wp);
    if (!session) return true;  // a session let go of since
    if (message == MFSession::kFrameMessage)
        OnFrame(*session);
    else
        OnEvent(*session, session->Take(lp));
    return true;
}

void MFPlayer::OnEvent(MFSession& session, MFSession::Event event) {
    using Event = MFSession::Event;
    if (&session == prepared_.get()) {
        if (event == Event::Failed) prepared_.reset();
        return;
    }
    if (&session == opening_.get()) {
        switch (event) {
        case Event::Failed: Fail(DescribeFailure(session.Failure())); break;
        case Event::Ready: StartOpening(); break;
        case Event::Started:
            if (!session.HasVideo()) Opened();  // sound alone: no picture to wait for
            break;
        default: break;
        }
        return;
    }
    if (&session != current_.get()) return;
    switch (event) {
    case Event::Ended:
        sessionEnded_ = true;
        [[fallthrough]];
    case Event::Failed:
        // A session that fails while playing plays no further: for the caller, the end.
        transport_.Ended();
        if (endWatch_.SignalEnd()) events_.EngineEnded();
        break;
    case Event::Stopped: SeekStopped(); break;
    case Event::Started: SeekStarted(); break;
    default: break;
    }
}

void MFPlayer::OnFrame(MFSession& session) {
    if (!session.TakeFrame()) return;
    if (&session == opening_.get()) {
        Opened();
    } else if (&session == current_.get()) {
        DrawNow();
    }
}

void MFPlayer::Opened() {
    previous_.reset();
    current_ = std::move(opening_);
    transport_.Opened();
    sessionEnded_ = false;
    endWatch_.Restart();
    PlaceVideo();
    InvalidateRect(window_, nullptr, FALSE);
    events_.EngineOpened();
}

void MFPlayer::RevealSurface() {
    if (!standIn_) return;
    standIn_ = false;
    previous_.reset();
    InvalidateRect(window_, nullptr, FALSE);
}

void MFPlayer::Apply(const SessionOrder& order) {
    switch (order.call) {
    case SessionOrder::Call::Start: current_->Start(order.at); break;
    case SessionOrder::Call::Resume: current_->Resume(); break;
    case SessionOrder::Call::Pause: current_->Pause(); break;
    case SessionOrder::Call::Stop: current_->Stop(); break;
    case SessionOrder::Call::None: break;
    }
}

void MFPlayer::Run() {
    if (current_) Apply(transport_.Play());
}

void MFPlayer::Pause() {
    if (!current_) return;
    RevealSurface();
    Apply(transport_.Pause());
}

void MFPlayer::Stop() {
    if (!current_) return;
    RevealSurface();
    Apply(transport_.Stop(Position()));
}

void MFPlayer::SetPosition(double seconds) {
    if (!current_) return;
    RevealSurface();
    double length = Duration();
    endWatch_.Restart();
    Apply(transport_.Seek(std::max(0.0, length > 0 ? std::min(seconds, length) : seconds)));
}

void MFPlayer::SeekStopped() {
    try {
        Apply(transport_.SessionStopped());
    } catch (const std::exception&) {
        events_.EngineCannotSeek(Position());
    }
}

void MFPlayer::SeekStarted() {
    SessionTransport::Started started = transport_.SessionStarted(current_->ClockSeconds());
    if (started.refused) {
        events_.EngineCannotSeek(*started.refused);
        return;
    }
    Apply(started.order);
}

double MFPlayer::Position() const {
    return current_ ? transport_.Position(current_->ClockSeconds(), Duration()) : 0;
}

double MFPlayer::Duration() const { return current_ ? current_->Duration() : 0; }

void MFPlayer::SetMute(bool mute) {
    mute_ = mute;
    for (auto* session : {&current_, &opening_, &prepared_})
        if (*session) (*session)->SetMute(mute);
}

void MFPlayer::Watch(unsigned long nowMs) {
    if (opening_ && nowMs - openStartedMs_ > kOpenTimeoutMs) {
        Fail(DescribeFailure(HRESULT_FROM_WIN32(ERROR_TIMEOUT)));
        return;
    }
    if (!current_ || transport_.Seeking()) return;
    if (endWatch_.Check(Position(), Duration(), transport_.Running(), nowMs)) {
        transport_.Ended();
        events_.EngineEnded();
    }
}

void MFPlayer::Resize(int clientWidth, int clientHeight) {
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    PlaceVideo();
    InvalidateRect(window_, nullptr, FALSE);
}

void MFPlayer::PlaceVideo() {
    int width = current_ ? current_->VideoWidth() : 0;
    int height = current_ ? current_->VideoHeight() : 0;
    picture_ = FitPicture(clientWidth_, clientHeight_, width, height);
}

void MFPlayer::DrawNow() {
    HDC dc = GetDC(window_);
    if (!dc) return;
    current_->DrawFrame(dc, RectOf(picture_));
    ReleaseDC(window_, dc);
}

void MFPlayer::RefreshPicture() { InvalidateRect(window_, nullptr, FALSE); }

void MFPlayer::PaintBackground(HDC dc) const {
    RECT client{};
    if (!GetClientRect(window_, &client)) return;
    const MFSession* shown = current_ && current_->HasFrame() ? current_.get() : standIn_ ? previous_.get() : nullptr;
    bool picture = shown && shown->HasVideo();
    PaintLetterbox(dc, client, picture_, picture);
    if (picture) shown->DrawFrame(dc, RectOf(picture_));
}

}  // namespace kv
