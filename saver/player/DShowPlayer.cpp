#include "saver/player/DShowPlayer.h"

#include "framework/Exception.h"
#include "framework/Text.h"
#include "saver/player/GraphFailure.h"
#include "saver/player/MediaTime.h"

namespace kv {
namespace {

constexpr long kSilentVolume = -10000;  // hundredths of a decibel: off
constexpr long kFullVolume = 0;

// Missing files are told apart before any graph work: that would cost a trip through every
// source filter.
void CheckFileThere(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw Exception(SystemErrorText(GetLastError()));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw Exception(SystemErrorText(ERROR_FILE_NOT_FOUND));
}

bool Holds(const GraphSlot* slot, const std::wstring& path) {
    return slot && !slot->Path().empty() && slot->Path() == path;
}

}  // namespace

DShowPlayer::DShowPlayer(HWND videoWindow, AnsweringWait wait) : window_(videoWindow), wait_(std::move(wait)) {
    if (!wait_)
        wait_ = [](HANDLE handle, DWORD ms) {
            return PumpMessages([](MSG& msg) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }, ms, handle);
        };
    RECT client{};
    if (GetClientRect(window_, &client)) {
        clientWidth_ = client.right;
        clientHeight_ = client.bottom;
    }
    picture_ = FitPicture(clientWidth_, clientHeight_, 0, 0);
}

DShowPlayer::~DShowPlayer() { Close(); }

void DShowPlayer::Open(const std::wstring& path) {
    if (opening_) throw Exception("Another file is being opened");
    fileName_ = path;
    // The file that has just ended starts again in its own graph.
    if (current_ && current_->Path() == path && endWatch_.Ended()) {
        Rewind();
        return;
    }
    opening_ = true;
    try {
        if (current_) ChangeState(GraphState::Stopped);
        CheckFileThere(path);
        GraphSlot& slot = Load(path);
        opening_ = false;
        SwitchTo(slot);
    } catch (...) {
        opening_ = false;
        CloseCurrent();
        throw;
    }
}

// The graph that holds path ready, made ready now when Prepare did not.
GraphSlot& DShowPlayer::Load(const std::wstring& path) {
    GraphSlot& spare = Spare();
    if (!Holds(&spare, path) || (!spare.Ready() && !spare.LoadDone())) {
        // A preparation of another file has to finish before its graph takes this one.
        if (spare.Loading()) WaitForLoad(spare);
        if (handover_ == &spare) RevealSurface();
        spare.BeginLoad(path);
    }
    if (!spare.Ready()) {
        WaitForLoad(spare);
        spare.FinishLoad();
    }
    return spare;
}

void DShowPlayer::WaitForLoad(GraphSlot& slot) {
    switch (wait_(slot.LoadDone(), kRenderTimeoutMs)) {
    case WaitEnd::Signalled: break;
    case WaitEnd::TimedOut: Check(VFW_E_TIMEOUT); break;
    case WaitEnd::Quit: throw Exception("The run is ending");
    }
}

void DShowPlayer::Prepare(const std::wstring& path) {
    if (opening_ || path.empty() || (current_ && current_->Path() == path)) return;
    GraphSlot& spare = Spare();
    if (Holds(&spare, path) || spare.Loading() || handover_ == &spare) return;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    spare.BeginLoad(path);
}

GraphSlot& DShowPlayer::Spare() {
    int index = current_ == slots_[0].get() && current_ ? 1 : 0;
    if (!slots_[index]) slots_[index] = std::make_unique<GraphSlot>(window_, kGraphEventMessage);
    return *slots_[index];
}

void DShowPlayer::SwitchTo(GraphSlot& slot) {
    GraphSlot* previous = current_;
    if (previous && previous != &slot) previous->Control().Stop();
    current_ = &slot;
    endWatch_.Restart();
    state_ = GraphState::Paused;  // a loaded graph stands on its first picture
    // The previous picture stays until the new file has really begun (RevealSurface).
    if (handover_ && handover_ != previous) handover_->ShowSurface(false);
    handover_ = previous && previous->SurfaceShown() && slot.HasVideo() ? previous : nullptr;
    if (previous && !handover_) previous->ShowSurface(false);
    PlaceVideo();
    ApplyVolume();
    ChangeState(GraphState::Running);
    if (!handover_) slot.ShowSurface(true);
    PostMessageW(window_, kGraphEventMessage, 0, 0);
}

void DShowPlayer::RevealSurface() {
    if (!handover_) return;
    if (current_) current_->ShowSurface(true);
    handover_->ShowSurface(false);
    handover_ = nullptr;
}

void DShowPlayer::RefreshPicture() {
    if (current_) current_->PaintFirstPicture();
}

void DShowPlayer::Rewind() {
    endWatch_.Restart();
    SetCurrentPosition(0);
    ChangeState(GraphState::Running);
    PostMessageW(window_, kGraphEventMessage, 0, 0);
}

// Nothing plays any more; the graphs stay for the next file.
void DShowPlayer::CloseCurrent() {
    RevealSurface();
    if (current_) {
        current_->Control().Stop();
        current_->ShowSurface(false);
        current_->Forget();
    }
    current_ = nullptr;
    state_ = GraphState::Stopped;
    picture_ = FitPicture(clientWidth_, clientHeight_, 0, 0);
}

void DShowPlayer::Close() {
    CloseCurrent();
    for (auto& slot : slots_) slot.reset();
}

void DShowPlayer::Play() {
    if (current_) ChangeState(GraphState::Running);
}

void DShowPlayer::Stop() {
    if (current_) ChangeState(GraphState::Stopped);
}

void DShowPlayer::Pause() {
    if (current_) ChangeState(GraphState::Paused);
}

void DShowPlayer::ChangeState(GraphState state) {
    if (state != GraphState::Running || state_ != GraphState::Paused) RevealSurface();
    IMediaControl& control = current_->Control();
    switch (state) {
    case GraphState::Stopped: Check(control.Stop()); break;
    case GraphState::Paused: Check(control.Pause()); break;
    case GraphState::Running: Check(control.Run()); break;
    }
    state_ = state;
}

double DShowPlayer::CurrentPosition() const {
    if (!current_) return 0;
    LONGLONG position = 0;
    Check(current_->Seeking().GetCurrentPosition(&position));
    return SecondsFromMediaTime(position);
}

void DShowPlayer::SetCurrentPosition(double seconds) {
    if (!current_) return;
    RevealSurface();
    // Asked for a point past the end, GStreamer's demuxer lets the clock run on, never ends
    // the stream and then hangs the graph's teardown. The end itself ends the file.
    double length = Duration();
    if (length > 0 && seconds > length) seconds = length;
    LONGLONG position = MediaTimeFromSeconds(seconds);
    // Seeks go to a stopped graph. After a seek of a running or paused graph with both sound
    // and picture, Wine's demuxer wakes only one of its two stream threads: the other sleeps
    // for good, its stream stands still and the next Stop waits for it forever.
    GraphState resume = state_;
    if (resume != GraphState::Stopped) ChangeState(GraphState::Stopped);
    HRESULT hr = current_->Seeking().SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                                  AM_SEEKING_NoPositioning);
    if (resume != GraphState::Stopped) ChangeState(resume);
    Check(hr);
    endWatch_.Seeked();
}

double DShowPlayer::Duration() const {
    if (!current_) return 0;
    LONGLONG duration = 0;
    Check(current_->Seeking().GetDuration(&duration));
    return SecondsFromMediaTime(duration);
}

void DShowPlayer::SetMute(bool mute) {
    mute_ = mute;
    ApplyVolume();
}

void DShowPlayer::ApplyVolume() {
    if (current_) current_->SetVolume(mute_ ? kSilentVolume : kFullVolume);
}

bool DShowPlayer::HandleGraphEvent() {
    // Events that come while Open still waits are drained once it is done.
    if (opening_) return false;
    bool ended = false;
    for (auto& slot : slots_) {
        if (!slot || slot->Loading()) continue;
        long code = 0;
        LONG_PTR param1 = 0, param2 = 0;
        while (slot->Events().GetEvent(&code, &param1, &param2, 0) == S_OK) {
            slot->Events().FreeEventParams(code, param1, param2);
            // Only the open file's end counts; the other graph's events are old news.
            if (slot.get() != current_) continue;
            // The last pictures may still be on their way: CheckStalledEnd reports that end.
            if (code == EC_COMPLETE)
                ended = endWatch_.SignalEnd(HasVideo(), GetTickCount()) || ended;
            // An aborted graph plays no further: for the caller that is the end of this file.
            else if (code == EC_ERRORABORT || code == EC_USERABORT)
                ended = endWatch_.SignalEnd() || ended;
        }
    }
    return ended;
}

bool DShowPlayer::CheckStalledEnd(unsigned long nowMs) {
    // As with the graph's own events: an end seen while Open waits would start a second open.
    if (!current_ || opening_) return false;
    if (endWatch_.Draining()) return endWatch_.Drain(nowMs);
    LONGLONG position = 0, duration = 0;
    if (FAILED(current_->Seeking().GetCurrentPosition(&position)) ||
        FAILED(current_->Seeking().GetDuration(&duration)))
        return false;
    return endWatch_.Check(SecondsFromMediaTime(position), SecondsFromMediaTime(duration),
                           state_ == GraphState::Running, nowMs);
}

void DShowPlayer::Resize(int clientWidth, int clientHeight) {
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    PlaceVideo();
}

void DShowPlayer::PlaceVideo() {
    int width = current_ ? current_->VideoWidth() : 0;
    int height = current_ ? current_->VideoHeight() : 0;
    picture_ = FitPicture(clientWidth_, clientHeight_, width, height);
    // Layout follows WM_SIZE.
    if (current_) current_->PlaceSurface(picture_.x, picture_.y, picture_.width, picture_.height);
}

void DShowPlayer::PaintBackground(HDC dc) const {
    RECT client{};
    if (!GetClientRect(window_, &client)) return;
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (!HasVideo()) {
        FillRect(dc, &client, black);
        return;
    }
    const PictureRect& p = picture_;
    RECT bars[] = {
        {0, 0, client.right, p.y},
        {0, p.y + p.height, client.right, client.bottom},
        {0, p.y, p.x, p.y + p.height},
        {p.x + p.width, p.y, client.right, p.y + p.height},
    };
    for (const RECT& bar : bars)
        if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
}

}  // namespace kv
