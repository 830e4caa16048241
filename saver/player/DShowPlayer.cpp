#include "saver/player/DShowPlayer.h"

#include <errors.h>

#include "framework/Exception.h"
#include "framework/Text.h"
#include "saver/player/BackgroundRender.h"
#include "saver/player/FailureText.h"
#include "saver/player/MediaTime.h"

// The SDK headers give these interfaces no __uuidof binding.
__CRT_UUID_DECL(IMediaEventEx, 0x56a868c0, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IBasicAudio, 0x56a868b3, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IVideoWindow, 0x56a868b4, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IBasicVideo, 0x56a868b5, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IBasicVideo2, 0x329bb360, 0xf6ea, 0x11d1, 0x90, 0x38, 0x00, 0xa0, 0xc9, 0x69, 0x72, 0x98)

namespace kv {
namespace {

constexpr long kSilentVolume = -10000;  // hundredths of a decibel: off
constexpr long kFullVolume = 0;
constexpr DWORD kStatePollMs = 10;

std::string DescribeFailure(HRESULT hr) {
    if (const char* known = KnownFailureText(static_cast<std::uint32_t>(hr))) return known;
    wchar_t text[MAX_ERROR_TEXT_LEN] = {};
    if (AMGetErrorTextW(hr, text, MAX_ERROR_TEXT_LEN) > 0) {
        std::wstring s(text);
        while (!s.empty() && (s.back() == L'.' || iswspace(s.back()))) s.pop_back();
        // Wine's quartz answers unknown codes with "Error: 0x...": no description at all.
        if (!s.empty() && s.rfind(L"Error: 0x", 0) != 0) return Narrow(s);
    }
    return SystemErrorText(static_cast<unsigned long>(hr));
}

void Check(HRESULT hr) {
    if (FAILED(hr)) throw Exception(DescribeFailure(hr));
}

template <typename T>
ComPtr<T> Query(const ComPtr<IGraphBuilder>& graph) {
    HRESULT hr = S_OK;
    ComPtr<T> out = graph.As<T>(&hr);
    Check(hr);
    return out;
}

bool InputConnected(IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Put()))) return false;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        ComPtr<IPin> peer;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT &&
            SUCCEEDED(pin->ConnectedTo(peer.Put())) && peer)
            return true;
    }
    return false;
}

}  // namespace

DShowPlayer::DShowPlayer(HWND videoWindow, AnsweringWait wait) : window_(videoWindow), wait_(std::move(wait)) {
    if (!wait_)
        wait_ = [](HANDLE handle, DWORD ms) {
            return WaitAnswering(handle, ms, [](MSG& msg) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            });
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
    Close();
    fileName_ = path;
    endWatch_.Restart();
    opening_ = true;
    try {
        Build(path);
    } catch (...) {
        opening_ = false;
        Close();
        throw;
    }
    opening_ = false;
    PostMessageW(window_, kGraphEventMessage, 0, 0);
}

void DShowPlayer::Build(const std::wstring& path) {
    // A missing file would otherwise cost a trip through every source filter.
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw Exception(SystemErrorText(GetLastError()));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw Exception(SystemErrorText(ERROR_FILE_NOT_FOUND));

    // The renderer is made here, so that its window belongs to this thread.
    ComPtr<IBaseFilter> renderer;
    Check(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                           renderer.PutVoid()));
    graph_ = Render(path, renderer.Get());
    bool video = InputConnected(renderer.Get());
    if (!video) Check(graph_->RemoveFilter(renderer.Get()));

    control_ = Query<IMediaControl>(graph_);
    events_ = Query<IMediaEventEx>(graph_);
    seeking_ = Query<IMediaSeeking>(graph_);
    seeking_->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    Check(events_->SetNotifyWindow(reinterpret_cast<OAHWND>(window_), kGraphEventMessage, 0));

    // The graph answers IBasicAudio even without a sound renderer; a volume that reads back
    // tells whether one is there.
    ComPtr<IBasicAudio> audio = graph_.As<IBasicAudio>();
    long volume = 0;
    if (audio && SUCCEEDED(audio->get_Volume(&volume))) audio_ = audio;
    if (video) AttachVideo();
    ApplyVolume();

    ChangeState(GraphState::Running);
    WaitUntilStarted();
}

// Nothing of the graph is kept until it is whole: calls made while messages are dispatched
// here find no file open.
ComPtr<IGraphBuilder> DShowPlayer::Render(const std::wstring& path, IBaseFilter* renderer) {
    ComPtr<IGraphBuilder> graph;
    Check(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                           graph.PutVoid()));
    // The GDI renderer goes in first so that rendering picks it: it draws with any display
    // driver, where the default renderer may draw nothing visible (Wine on Xvfb).
    Check(graph->AddFilter(renderer, L"Video Renderer"));
    BackgroundRender render(graph, path);
    switch (wait_(render.Done(), kRenderTimeoutMs)) {
    case WaitEnd::Signalled: break;
    case WaitEnd::TimedOut: Check(VFW_E_TIMEOUT); break;
    case WaitEnd::Quit: throw Exception("The run is ending");
    }
    // Partial renders (VFW_S_AUDIO_NOT_RENDERED without a sound device) still play the picture.
    Check(render.Result());
    return graph;
}

void DShowPlayer::AttachVideo() {
    videoWindow_ = Query<IVideoWindow>(graph_);
    Check(videoWindow_->put_Owner(reinterpret_cast<OAHWND>(window_)));
    Check(videoWindow_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    // Mouse and keys over the picture reach the control's window, as if it had no child.
    Check(videoWindow_->put_MessageDrain(reinterpret_cast<OAHWND>(window_)));

    ComPtr<IBasicVideo> basic = graph_.As<IBasicVideo>();
    long width = 0, height = 0;
    if (basic && SUCCEEDED(basic->GetVideoSize(&width, &height))) {
        videoWidth_ = int(width);
        videoHeight_ = int(height);
        long aspectX = 0, aspectY = 0;
        ComPtr<IBasicVideo2> basic2 = basic.As<IBasicVideo2>();
        if (basic2 && SUCCEEDED(basic2->GetPreferredAspectRatio(&aspectX, &aspectY)))
            videoWidth_ = DisplayWidth(videoWidth_, videoHeight_, int(aspectX), int(aspectY));
    }
    RECT client{};
    if (GetClientRect(window_, &client)) {
        clientWidth_ = client.right;
        clientHeight_ = client.bottom;
    }
    PlaceVideo();
}

void DShowPlayer::WaitUntilStarted() {
    // A graph that cannot reach the running state (a broken file) must not hang the caller.
    const DWORD start = GetTickCount();
    for (;;) {
        OAFilterState state = State_Stopped;
        HRESULT hr = control_->GetState(0, &state);
        if (hr != VFW_S_STATE_INTERMEDIATE) {
            Check(hr);
            break;
        }
        if (GetTickCount() - start > kStartTimeoutMs) Check(VFW_E_TIMEOUT);
        if (wait_(nullptr, kStatePollMs) == WaitEnd::Quit) throw Exception("The run is ending");
    }
    // A length of 0 is no failure: some valid files report none and play until their end.
}

void DShowPlayer::Close() {
    if (control_) control_->Stop();
    // Unhook everything that points at our window before the graph goes.
    if (events_) events_->SetNotifyWindow(0, 0, 0);
    if (videoWindow_) {
        videoWindow_->put_Visible(OAFALSE);
        videoWindow_->put_MessageDrain(0);
        videoWindow_->put_Owner(0);
    }
    videoWindow_.Reset();
    audio_.Reset();
    seeking_.Reset();
    events_.Reset();
    control_.Reset();
    graph_.Reset();
    state_ = GraphState::Stopped;
    videoWidth_ = videoHeight_ = 0;
    picture_ = FitPicture(clientWidth_, clientHeight_, 0, 0);
}

void DShowPlayer::Play() {
    if (control_) ChangeState(GraphState::Running);
}

void DShowPlayer::Stop() {
    if (control_) ChangeState(GraphState::Stopped);
}

void DShowPlayer::Pause() {
    if (control_) ChangeState(GraphState::Paused);
}

void DShowPlayer::ChangeState(GraphState state) {
    switch (state) {
    case GraphState::Stopped: Check(control_->Stop()); break;
    case GraphState::Paused: Check(control_->Pause()); break;
    case GraphState::Running: Check(control_->Run()); break;
    }
    state_ = state;
}

double DShowPlayer::CurrentPosition() const {
    if (!seeking_) return 0;
    LONGLONG position = 0;
    Check(seeking_->GetCurrentPosition(&position));
    return SecondsFromMediaTime(position);
}

void DShowPlayer::SetCurrentPosition(double seconds) {
    if (!seeking_) return;
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
    HRESULT hr = seeking_->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                        AM_SEEKING_NoPositioning);
    if (resume != GraphState::Stopped) ChangeState(resume);
    Check(hr);
    endWatch_.Seeked();
}

void DShowPlayer::RefreshPicture() {
    if (!videoWindow_ || opening_ || state_ != GraphState::Running || endWatch_.Draining() || endWatch_.Ended())
        return;
    try {
        double position = CurrentPosition(), length = Duration();
        // Never at or past the end, where a seek hangs GStreamer's demuxer.
        if (length <= 0 || position >= length) return;
        // A seek to where the file stands hands the renderer that picture afresh.
        SetCurrentPosition(position);
    } catch (const Exception&) {
        // Only a picture is lost; the file plays on.
    }
}

double DShowPlayer::Duration() const {
    if (!seeking_) return 0;
    LONGLONG duration = 0;
    Check(seeking_->GetDuration(&duration));
    return SecondsFromMediaTime(duration);
}

void DShowPlayer::SetMute(bool mute) {
    mute_ = mute;
    ApplyVolume();
}

void DShowPlayer::ApplyVolume() {
    if (audio_) Check(audio_->put_Volume(mute_ ? kSilentVolume : kFullVolume));
}

bool DShowPlayer::HandleGraphEvent() {
    // Events that come while Open still waits are drained once it is done.
    if (!events_ || opening_) return false;
    bool ended = false;
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (events_->GetEvent(&code, &param1, &param2, 0) == S_OK) {
        events_->FreeEventParams(code, param1, param2);
        // The last pictures may still be on their way: CheckStalledEnd reports that end.
        if (code == EC_COMPLETE)
            ended = endWatch_.SignalEnd(HasVideo(), GetTickCount()) || ended;
        // An aborted graph plays no further: for the caller that is the end of this file.
        else if (code == EC_ERRORABORT || code == EC_USERABORT)
            ended = endWatch_.SignalEnd() || ended;
    }
    return ended;
}

bool DShowPlayer::CheckStalledEnd(unsigned long nowMs) {
    if (!seeking_) return false;
    if (endWatch_.Draining()) return endWatch_.Drain(nowMs);
    LONGLONG position = 0, duration = 0;
    if (FAILED(seeking_->GetCurrentPosition(&position)) || FAILED(seeking_->GetDuration(&duration)))
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
    picture_ = FitPicture(clientWidth_, clientHeight_, videoWidth_, videoHeight_);
    // Layout follows WM_SIZE; a renderer that refuses a size keeps its old one.
    if (videoWindow_)
        videoWindow_->SetWindowPosition(picture_.x, picture_.y, picture_.width, picture_.height);
}

void DShowPlayer::PaintBackground(HDC dc) const {
    RECT client{};
    if (!GetClientRect(window_, &client)) return;
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (!videoWindow_) {
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
