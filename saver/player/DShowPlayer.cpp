#include "saver/player/DShowPlayer.h"

#include <algorithm>

#include "framework/Exception.h"
#include "framework/FileExists.h"
#include "saver/player/GraphFailure.h"
#include "saver/player/Letterbox.h"
#include "saver/player/MediaTime.h"

namespace kv {
namespace {

constexpr long kSilentVolume = -10000;  // hundredths of a decibel: off
constexpr long kFullVolume = 0;

// Missing files are told apart before any graph work: that would cost a trip through every
// source filter.
HRESULT FileThere(const std::wstring& path) { return HRESULT_FROM_WIN32(FileMissingReason(path)); }

}  // namespace

DShowPlayer::DShowPlayer(HWND videoWindow, MediaEngineEvents& events, Options options)
    : window_(videoWindow), events_(events), options_(std::move(options)) {
    RECT client{};
    if (GetClientRect(window_, &client)) {
        clientWidth_ = client.right;
        clientHeight_ = client.bottom;
    }
    picture_ = FitPicture(clientWidth_, clientHeight_, 0, 0);
}

DShowPlayer::~DShowPlayer() {
    CloseCurrent();
    // Every load is told to stop first, so that they end together.
    for (auto& slot : slots_)
        if (slot) slot->CancelLoad();
    for (auto& slot : abandoned_) slot->CancelLoad();
}

GraphSlot& DShowPlayer::Slot(int index) {
    if (!slots_[index])
        slots_[index] = std::make_unique<GraphSlot>(window_, kGraphEventMessage, kLoadDoneMessage, options_.loadHook);
    return *slots_[index];
}

void DShowPlayer::Load(const std::wstring& path) {
    ++open_;
    queued_.clear();
    opening_ = nullptr;
    SlotFacts facts[2];
    for (int i = 0; i < 2; ++i)
        if (slots_[i])
            facts[i] = {slots_[i]->State(), slots_[i]->Path() == path, slots_[i].get() == handover_};
    OpenPlan plan = PlanOpen(facts, endWatch_.Ended());
    if (plan.step == OpenStep::Rewind) {
        pending_ = Pending::Rewind;
        Answer(S_OK);
        return;
    }
    LetGoOfCurrent();
    pending_ = Pending::Slot;
    HRESULT there = FileThere(path);
    if (FAILED(there)) {
        Answer(there);
        return;
    }
    try {
        opening_ = &Slot(plan.slot);
        switch (plan.step) {
        case OpenStep::Switch: Answer(S_OK); break;
        case OpenStep::Await: break;
        case OpenStep::Queue:
            opening_->CancelLoad();
            queued_ = path;
            break;
        default: LoadInto(*opening_, path); break;
        }
    } catch (const std::exception&) {
        // No graph or no thread: the caller hears of it now, and no open is under way.
        pending_ = Pending::None;
        opening_ = nullptr;
        throw;
    }
}

// The previous file stops; its last picture stands in until the next file has begun.
void DShowPlayer::LetGoOfCurrent() {
    if (!current_) return;
    current_->Control().Stop();
    if (handover_ && handover_ != current_) handover_->ShowSurface(false);
    handover_ = current_->SurfaceShown() ? current_ : nullptr;
    current_->Forget();
    current_ = nullptr;
    state_ = GraphState::Stopped;
}

// The open's answer comes as a message, like a load's: never inside the caller's own call.
void DShowPlayer::Answer(HRESULT hr) { PostMessageW(window_, kAnswerMessage, open_, LPARAM(hr)); }

void DShowPlayer::LoadInto(GraphSlot& slot, const std::wstring& path) {
    if (handover_ == &slot) RevealSurface();
    slot.BeginLoad(path, nextToken_++);
}

void DShowPlayer::Prepare(const std::wstring& path) {
    if (path.empty() || pending_ != Pending::None || FAILED(FileThere(path))) return;
    SlotFacts facts[2];
    for (int i = 0; i < 2; ++i)
        if (slots_[i])
            facts[i] = {slots_[i]->State(), slots_[i]->Path() == path, slots_[i].get() == handover_};
    int index = PlanPrepare(facts);
    if (index >= 0) LoadInto(Slot(index), path);
}

bool DShowPlayer::HandleMessage(UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case kGraphEventMessage: DrainGraphEvents(); return true;
    case kLoadDoneMessage: OnLoadDone(wp); return true;
    case kAnswerMessage: OnAnswer(wp, HRESULT(lp)); return true;
    default: return false;
    }
}

void DShowPlayer::OnLoadDone(WPARAM token) {
    for (auto it = abandoned_.begin(); it != abandoned_.end(); ++it)
        if ((*it)->LoadToken() == token) {
            abandoned_.erase(it);  // its thread has ended: the graph goes here, on its own thread
            return;
        }
    for (auto& slot : slots_) {
        if (!slot || slot->State() != SlotState::Loading || slot->LoadToken() != token) continue;
        HRESULT hr = slot->FinishLoad();
        if (slot.get() != opening_) return;  // a preparation: ready or not, it waits for its open
        if (!queued_.empty()) {
            try {
                LoadInto(*slot, std::exchange(queued_, std::wstring()));
                return;
            } catch (const std::exception& e) {
                opening_ = nullptr;
                pending_ = Pending::None;
                Fail(e.what());
                return;
            }
        }
        OnAnswer(open_, hr);
        return;
    }
}

void DShowPlayer::OnAnswer(WPARAM open, HRESULT hr) {
    if (open != open_ || pending_ == Pending::None) return;  // another open took its place
    Pending pending = std::exchange(pending_, Pending::None);
    GraphSlot* slot = std::exchange(opening_, nullptr);
    if (FAILED(hr)) {
        Fail(DescribeFailure(hr));
        return;
    }
    if (pending == Pending::Rewind) {
        try {
            ChangeState(GraphState::Stopped);
            SetPosition(0);
            ChangeState(GraphState::Paused);
        } catch (const std::exception& e) {
            Fail(e.what());
            return;
        }
        endWatch_.Restart();
    } else if (slot && slot->State() == SlotState::Loaded) {
        SwitchTo(*slot);
    } else {
        Fail(DescribeFailure(E_UNEXPECTED));
        return;
    }
    events_.EngineOpened();
}

// The load overran its time: its graph is given up to its thread and a new one takes its
// place, so that the next file is not held up behind it.
void DShowPlayer::Abandon(int index) {
    std::unique_ptr<GraphSlot> stuck = std::move(slots_[index]);
    stuck->CancelLoad();
    bool wasOpening = stuck.get() == opening_;
    abandoned_.push_back(std::move(stuck));
    if (!wasOpening) return;
    opening_ = nullptr;
    if (!queued_.empty()) {
        // That file is not at fault: it goes into the new graph.
        try {
            opening_ = &Slot(index);
            LoadInto(*opening_, std::exchange(queued_, std::wstring()));
            return;
        } catch (const std::exception& e) {
            pending_ = Pending::None;
            Fail(e.what());
            return;
        }
    }
    pending_ = Pending::None;
    Fail(DescribeFailure(VFW_E_TIMEOUT));
}

void DShowPlayer::Fail(const std::string& reason) {
    CloseCurrent();
    events_.EngineFailed(reason);
}

void DShowPlayer::SwitchTo(GraphSlot& slot) {
    slot.MakeCurrent();
    current_ = &slot;
    endWatch_.Restart();
    state_ = GraphState::Paused;  // a loaded graph stands on its first picture
    // The previous picture stays until the new file has begun (RevealSurface).
    if (handover_ && !slot.HasVideo()) RevealSurface();
    PlaceVideo();
    ApplyVolume();
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
    ++open_;
    pending_ = Pending::None;
    opening_ = nullptr;
    queued_.clear();
    CloseCurrent();
}

void DShowPlayer::Run() {
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

double DShowPlayer::Position() const {
    if (!current_) return 0;
    LONGLONG position = 0;
    Check(current_->Seeking().GetCurrentPosition(&position));
    return SecondsFromMediaTime(position);
}

void DShowPlayer::SetPosition(double seconds) {
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

void DShowPlayer::DrainGraphEvents() {
    bool ended = false;
    for (auto& slot : slots_) {
        if (!slot || slot->State() == SlotState::Loading) continue;
        long code = 0;
        LONG_PTR param1 = 0, param2 = 0;
        while (slot->Events().GetEvent(&code, &param1, &param2, 0) == S_OK) {
            slot->Events().FreeEventParams(code, param1, param2);
            // Only the open file's end counts; the other graph's events, and the ends seen
            // while another file opens, are old news. An aborted graph plays no further: for
            // the caller that is the end of this file.
            if (slot.get() == current_ && pending_ == Pending::None &&
                (code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT))
                ended = endWatch_.SignalEnd() || ended;
        }
    }
    if (ended) events_.EngineEnded();
}

void DShowPlayer::Watch(unsigned long nowMs) {
    for (int i = 0; i < 2; ++i)
        if (slots_[i] && slots_[i]->State() == SlotState::Loading &&
            nowMs - slots_[i]->LoadStartedMs() > options_.loadTimeoutMs)
            Abandon(i);
    if (!current_ || pending_ != Pending::None) return;
    LONGLONG position = 0, duration = 0;
    if (FAILED(current_->Seeking().GetCurrentPosition(&position)) ||
        FAILED(current_->Seeking().GetDuration(&duration)))
        return;
    if (endWatch_.Check(SecondsFromMediaTime(position), SecondsFromMediaTime(duration),
                        state_ == GraphState::Running, nowMs))
        events_.EngineEnded();
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
    if (GetClientRect(window_, &client)) PaintLetterbox(dc, client, picture_, HasVideo());
}

}  // namespace kv
