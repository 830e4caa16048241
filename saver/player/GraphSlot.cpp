#include "saver/player/GraphSlot.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <vector>

#include "framework/Exception.h"
#include "saver/player/GraphFailure.h"
#include "saver/player/PictureFit.h"
#include "saver/player/SoundRendererChoice.h"

// The SDK headers give these interfaces no __uuidof binding.
__CRT_UUID_DECL(IMediaEventEx, 0x56a868c0, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IBasicAudio, 0x56a868b3, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IVideoWindow, 0x56a868b4, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IBasicVideo, 0x56a868b5, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IBasicVideo2, 0x329bb360, 0xf6ea, 0x11d1, 0x90, 0x38, 0x00, 0xa0, 0xc9, 0x69, 0x72, 0x98)

namespace kv {
namespace {

constexpr DWORD kPrerollPollMs = 20;
// Past this point the renderer has drawn later pictures of its own.
constexpr LONGLONG kFirstPictureMediaTime = 5000000;  // 0.5 s in 100 ns units
// Larger pictures are not kept: a copy would cost more than the half second it covers.
constexpr long long kFirstPictureMaxPixels = 1920LL * 1200LL;

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        out.push_back(child);
    return out;
}

template <typename T, typename From>
ComPtr<T> Query(const ComPtr<From>& from) {
    HRESULT hr = S_OK;
    ComPtr<T> out = from.template As<T>(&hr);
    Check(hr);
    return out;
}

ComPtr<IBaseFilter> Create(const CLSID& clsid) {
    ComPtr<IBaseFilter> filter;
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.PutVoid()));
    return filter;
}

std::vector<ComPtr<IPin>> Pins(IBaseFilter* filter, PIN_DIRECTION wanted) {
    std::vector<ComPtr<IPin>> out;
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Put()))) return out;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted) out.push_back(pin);
    }
    return out;
}

bool InputConnected(IBaseFilter* filter) {
    for (const ComPtr<IPin>& pin : Pins(filter, PINDIR_INPUT)) {
        ComPtr<IPin> peer;
        if (SUCCEEDED(pin->ConnectedTo(peer.Put())) && peer) return true;
    }
    return false;
}

ComPtr<IPin> InputPin(IBaseFilter* filter) {
    std::vector<ComPtr<IPin>> pins = Pins(filter, PINDIR_INPUT);
    return pins.empty() ? ComPtr<IPin>() : pins.front();
}

// Bytes a second of a sound connection: the size of the sound renderer's buffer.
std::uint32_t ConnectedRate(IPin* pin) {
    AM_MEDIA_TYPE type{};
    if (FAILED(pin->ConnectionMediaType(&type))) return 0;
    std::uint32_t rate = 0;
    if (type.formattype == FORMAT_WaveFormatEx && type.pbFormat && type.cbFormat >= sizeof(WAVEFORMATEX))
        rate = reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat)->nAvgBytesPerSec;
    CoTaskMemFree(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
    return rate;
}

bool InGraph(IBaseFilter* filter) {
    FILTER_INFO info{};
    if (FAILED(filter->QueryFilterInfo(&info))) return false;
    bool in = info.pGraph != nullptr;
    if (info.pGraph) info.pGraph->Release();
    return in;
}

// Wine's parser ends GStreamer's segment at the graph's stop, held to GStreamer's estimate of
// the length: short for MPEG program streams, whose last pictures then never come. It passes
// a stop of 0 on as none. On Windows a stop of 0 would play nothing (see DEVELOPERS.md).
bool ParserClipsAtItsEstimate() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// On a stopped graph: a stop set on a paused one would flush it (see DShowPlayer::SetPosition).
void PlayToTheLastSample(const ComPtr<IGraphBuilder>& graph) {
    if (!ParserClipsAtItsEstimate()) return;
    ComPtr<IMediaSeeking> seeking = graph.As<IMediaSeeking>();
    LONGLONG none = 0;
    if (seeking) seeking->SetPositions(nullptr, AM_SEEKING_NoPositioning, &none, AM_SEEKING_AbsolutePositioning);
}

}  // namespace

struct GraphSlot::Parts {
    struct Sound {
        ComPtr<IBaseFilter> filter;
        std::uint32_t lastRate = 0;  // bytes a second of its last connection
    };
    ComPtr<IGraphBuilder> graph;
    ComPtr<IBaseFilter> video;
    // Made by the loads (opening the sound device takes a while); one per sound format the
    // files need, see ChooseSoundRenderer. None without a sound device.
    std::vector<Sound> sounds;
    int sound = -1;  // the one in the graph
    std::atomic<bool> cancelled{false};
    bool videoConnected = false;
    bool audioConnected = false;

    IBaseFilter* Audio() const { return sound >= 0 ? sounds[size_t(sound)].filter.Get() : nullptr; }
    bool Keeps(IBaseFilter* filter) const {
        if (filter == video.Get()) return true;
        for (const Sound& s : sounds)
            if (filter == s.filter.Get()) return true;
        return false;
    }
    int AddSound() {
        ComPtr<IBaseFilter> filter;
        if (FAILED(CoCreateInstance(CLSID_DSoundRender, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                    filter.PutVoid())))
            return -1;
        sounds.push_back(Sound{filter, 0});
        return int(sounds.size()) - 1;
    }
    HRESULT SettleSound();
};

// Moves the sound connection to a renderer that can safely take its format.
HRESULT GraphSlot::Parts::SettleSound() {
    ComPtr<IPin> input = InputPin(Audio());
    std::uint32_t rate = input ? ConnectedRate(input.Get()) : 0;
    std::vector<std::uint32_t> rates;
    for (const Sound& s : sounds) rates.push_back(s.lastRate);
    int chosen = ChooseSoundRenderer(rates, sound, rate);
    if (chosen != sound) {
        ComPtr<IPin> upstream;
        HRESULT hr = input->ConnectedTo(upstream.Put());
        if (FAILED(hr)) return hr;
        graph->RemoveFilter(Audio());
        if (chosen < 0 && (chosen = AddSound()) < 0) return E_FAIL;
        sound = chosen;
        if (FAILED(hr = graph->AddFilter(Audio(), L"Audio Renderer"))) return hr;
        ComPtr<IPin> newInput = InputPin(Audio());
        if (!newInput) return E_FAIL;
        if (FAILED(hr = graph->Connect(upstream.Get(), newInput.Get()))) return hr;
    }
    sounds[size_t(sound)].lastRate = rate;
    return S_OK;
}

GraphSlot::GraphSlot(HWND owner, UINT eventMessage, UINT loadMessage, LoadHook hook)
    : parts_(std::make_shared<Parts>()), hook_(std::move(hook)), owner_(owner), loadMessage_(loadMessage) {
    Parts& p = *parts_;
    Check(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                           p.graph.PutVoid()));
    // The GDI renderer, so that rendering picks it: it draws with any display driver, where
    // the default renderer may draw nothing visible (Wine on Xvfb).
    p.video = Create(CLSID_VideoRenderer);
    control_ = Query<IMediaControl>(p.graph);
    seeking_ = Query<IMediaSeeking>(p.graph);
    events_ = Query<IMediaEventEx>(p.graph);
    window_ = Query<IVideoWindow>(p.video);
    Check(events_->SetNotifyWindow(reinterpret_cast<OAHWND>(owner), eventMessage, 0));
    // The surface shows only when told: on its own it would show at the first Pause and go
    // black at every Stop, where the last picture should stay.
    Check(window_->put_AutoShow(OAFALSE));
    Check(window_->put_Visible(OAFALSE));
    std::vector<HWND> before = Children(owner);
    Check(window_->put_Owner(reinterpret_cast<OAHWND>(owner)));
    for (HWND child : Children(owner))
        if (std::find(before.begin(), before.end(), child) == before.end()) surface_ = child;
    Check(window_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    // Mouse and keys over the picture reach the owner, as if it had no child.
    Check(window_->put_MessageDrain(reinterpret_cast<OAHWND>(owner)));
}

GraphSlot::~GraphSlot() {
    events_->SetNotifyWindow(0, 0, 0);
    if (state_ == SlotState::Loading) {
        CancelLoad();
        if (!load_->Join(OwnedThread::kJoinBoundMs)) {
            // Still inside the graph: the graph and that thread are kept for good, so that
            // nothing is released under it, nor ever on it.
            load_.release();
            new std::shared_ptr<Parts>(std::move(parts_));
            return;
        }
    }
    control_->Stop();
    window_->put_Visible(OAFALSE);
    window_->put_MessageDrain(0);
    window_->put_Owner(0);
}

void GraphSlot::BeginLoad(const std::wstring& path, WPARAM token) {
    if (state_ == SlotState::Loading) throw Exception("Another file is being opened");
    Forget();
    ShowSurface(false);
    load_.reset();  // the last load's thread, ended with its message
    path_ = path;
    token_ = token;
    loadStartedMs_ = GetTickCount();
    parts_->cancelled = false;
    std::shared_ptr<Parts> parts = parts_;
    LoadHook hook = hook_;
    load_ = std::make_unique<BackgroundRender>(
        [parts, path, hook] {
            if (hook) hook(path);
            return Load(parts, path);
        },
        owner_, loadMessage_, token);
    state_ = SlotState::Loading;
}

void GraphSlot::CancelLoad() { parts_->cancelled = true; }

// Runs on the load's thread; the slot does not touch the graph meanwhile.
HRESULT GraphSlot::Load(const std::shared_ptr<Parts>& parts, const std::wstring& path) {
    Parts& p = *parts;
    ComPtr<IMediaControl> control = p.graph.As<IMediaControl>();
    if (!control) return E_NOINTERFACE;
    control->Stop();
    // The previous file's filters go; the renderers stay.
    std::vector<ComPtr<IBaseFilter>> old;
    ComPtr<IEnumFilters> filters;
    if (SUCCEEDED(p.graph->EnumFilters(filters.Put()))) {
        ComPtr<IBaseFilter> filter;
        while (filters->Next(1, filter.Put(), nullptr) == S_OK)
            if (!p.Keeps(filter.Get())) old.push_back(filter);
    }
    filters.Reset();
    for (const ComPtr<IBaseFilter>& filter : old) p.graph->RemoveFilter(filter.Get());
    old.clear();
    if (p.cancelled) return E_ABORT;

    if (p.sounds.empty()) p.sound = p.AddSound();  // none without a sound device: the picture plays alone
    HRESULT hr = S_OK;
    if (!InGraph(p.video.Get()) && FAILED(hr = p.graph->AddFilter(p.video.Get(), L"Video Renderer"))) return hr;
    if (p.Audio() && !InGraph(p.Audio())) p.graph->AddFilter(p.Audio(), L"Audio Renderer");

    ComPtr<IBaseFilter> source;
    if (FAILED(hr = p.graph->AddSourceFilter(path.c_str(), path.c_str(), source.Put()))) return hr;
    ComPtr<IFilterGraph2> graph2 = p.graph.As<IFilterGraph2>();
    if (!graph2) return E_NOINTERFACE;
    HRESULT rendered = VFW_E_CANNOT_RENDER;
    for (const ComPtr<IPin>& pin : Pins(source.Get(), PINDIR_OUTPUT)) {
        if (p.cancelled) return E_ABORT;
        hr = graph2->RenderEx(pin.Get(), AM_RENDEREX_RENDERTOEXISTINGRENDERERS, nullptr);
        if (SUCCEEDED(hr) || FAILED(rendered)) rendered = hr;
    }
    if (FAILED(rendered)) return rendered;
    // A renderer left unconnected would keep the graph from ever reporting the end.
    p.videoConnected = InputConnected(p.video.Get());
    p.audioConnected = p.Audio() && InputConnected(p.Audio());
    if (!p.videoConnected) p.graph->RemoveFilter(p.video.Get());
    if (p.Audio() && !p.audioConnected) p.graph->RemoveFilter(p.Audio());
    if (p.audioConnected && FAILED(hr = p.SettleSound())) return hr;
    if (!p.videoConnected && !p.audioConnected) return VFW_E_CANNOT_RENDER;
    PlayToTheLastSample(p.graph);

    // Paused on the first picture, so that playing it later starts at once. A graph that
    // cannot get there (a broken file) must not hold anyone up; it is stopped here, off the
    // window's thread.
    hr = Preroll(p);
    if (FAILED(hr)) control->Stop();
    return hr;
}

HRESULT GraphSlot::Preroll(Parts& p) {
    ComPtr<IMediaControl> control = p.graph.As<IMediaControl>();
    HRESULT hr = control->Pause();
    if (FAILED(hr)) return hr;
    const DWORD start = GetTickCount();
    OAFilterState state = State_Stopped;
    while ((hr = control->GetState(kPrerollPollMs, &state)) == VFW_S_STATE_INTERMEDIATE) {
        if (p.cancelled) return E_ABORT;
        if (GetTickCount() - start > kPrerollTimeoutMs) return VFW_E_TIMEOUT;
    }
    // A length of 0 is no failure: some valid files report none and play until their end.
    return hr;
}

HRESULT GraphSlot::FinishLoad() {
    if (state_ != SlotState::Loading) return E_UNEXPECTED;
    HRESULT hr = load_->Result();
    state_ = SlotState::Empty;
    if (FAILED(hr)) {
        path_.clear();
        return hr;
    }
    hasVideo_ = parts_->videoConnected;
    hasAudio_ = parts_->audioConnected;
    seeking_->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    state_ = SlotState::Loaded;
    ReadVideoSize();
    KeepFirstPicture();
    return S_OK;
}

void GraphSlot::MakeCurrent() {
    if (state_ == SlotState::Loaded) state_ = SlotState::Current;
}

void GraphSlot::Forget() {
    if (state_ == SlotState::Loading) return;
    state_ = SlotState::Empty;
    hasVideo_ = hasAudio_ = false;
    videoWidth_ = videoHeight_ = 0;
    firstPicture_.clear();
    path_.clear();
}

void GraphSlot::ReadVideoSize() {
    videoWidth_ = videoHeight_ = 0;
    if (!hasVideo_) return;
    ComPtr<IBasicVideo> basic = parts_->video.As<IBasicVideo>();
    long width = 0, height = 0;
    if (!basic || FAILED(basic->GetVideoSize(&width, &height))) return;
    videoWidth_ = int(width);
    videoHeight_ = int(height);
    long aspectX = 0, aspectY = 0;
    ComPtr<IBasicVideo2> basic2 = basic.As<IBasicVideo2>();
    if (basic2 && SUCCEEDED(basic2->GetPreferredAspectRatio(&aspectX, &aspectY)))
        videoWidth_ = DisplayWidth(videoWidth_, videoHeight_, int(aspectX), int(aspectY));
}

// The paused renderer holds the picture it drew; it lets go of it once the graph runs.
void GraphSlot::KeepFirstPicture() {
    firstPicture_.clear();
    ComPtr<IBasicVideo> basic = parts_->video.As<IBasicVideo>();
    long width = 0, height = 0;
    if (!hasVideo_ || !basic || FAILED(basic->GetVideoSize(&width, &height)) || width <= 0 || height <= 0 ||
        (long long)width * height > kFirstPictureMaxPixels)
        return;
    long size = long(sizeof(BITMAPINFOHEADER) + size_t(width) * size_t(height) * 4);
    firstPicture_.resize(size_t(size));
    if (FAILED(basic->GetCurrentImage(&size, reinterpret_cast<long*>(firstPicture_.data()))))
        firstPicture_.clear();
}

void GraphSlot::PaintFirstPicture() {
    if (firstPicture_.empty() || !surface_ || !surfaceShown_) return;
    LONGLONG position = 0;
    if (FAILED(seeking_->GetCurrentPosition(&position)) || position > kFirstPictureMediaTime) {
        firstPicture_.clear();
        return;
    }
    const auto* info = reinterpret_cast<const BITMAPINFO*>(firstPicture_.data());
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biCompression != BI_RGB) return;
    RECT client{};
    GetClientRect(surface_, &client);
    ScopedGetDC dc(surface_);
    StretchDIBits(dc.Get(), 0, 0, client.right, client.bottom, 0, 0, header.biWidth, std::abs(header.biHeight),
                  firstPicture_.data() + header.biSize, info, DIB_RGB_COLORS, SRCCOPY);
}

void GraphSlot::SetVolume(long volume) {
    if (!HasAudio()) return;
    ComPtr<IBasicAudio> audio;
    if (parts_->Audio() && SUCCEEDED(parts_->Audio()->QueryInterface(IID_IBasicAudio, audio.PutVoid())))
        Check(audio->put_Volume(volume));
}

void GraphSlot::ShowSurface(bool show) {
    show = show && HasVideo();
    if (show == surfaceShown_) return;
    window_->put_Visible(show ? OATRUE : OAFALSE);
    surfaceShown_ = show;
    if (!show) return;
    // Above the other graph's surface, which may still show the previous picture.
    if (surface_) SetWindowPos(surface_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PaintFirstPicture();
}

void GraphSlot::PlaceSurface(int x, int y, int width, int height) {
    // A renderer that refuses a size keeps its old one.
    if (HasVideo()) window_->SetWindowPosition(x, y, width, height);
}

}  // namespace kv
