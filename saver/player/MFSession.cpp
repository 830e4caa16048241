#include "saver/player/MFSession.h"

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>

#include <atomic>
#include <utility>

#include "framework/Scoped.h"
#include "saver/player/GraphFailure.h"
#include "saver/player/MediaTime.h"
#include "saver/player/PictureFit.h"

namespace kv {
namespace {

// Media Foundation is loaded by name: a system without it (before Windows 7) still plays
// every other file through DirectShow, and the shipped file imports nothing new.
struct MFApi {
    HRESULT(WINAPI* Startup)(ULONG, DWORD) = nullptr;
    HRESULT(WINAPI* CreateMediaSession)(IMFAttributes*, IMFMediaSession**) = nullptr;
    HRESULT(WINAPI* CreateSourceResolver)(IMFSourceResolver**) = nullptr;
    HRESULT(WINAPI* CreateTopology)(IMFTopology**) = nullptr;
    HRESULT(WINAPI* CreateTopologyNode)(MF_TOPOLOGY_TYPE, IMFTopologyNode**) = nullptr;
    HRESULT(WINAPI* CreateAudioRendererActivate)(IMFActivate**) = nullptr;
    HRESULT(WINAPI* CreateSampleGrabberSinkActivate)(IMFMediaType*, IMFSampleGrabberSinkCallback*,
                                                     IMFActivate**) = nullptr;
    HRESULT(WINAPI* CreateMediaType)(IMFMediaType**) = nullptr;
    HRESULT(WINAPI* GetService)(IUnknown*, REFGUID, REFIID, void**) = nullptr;
    bool loaded = false;
};

template <typename Fn>
bool Find(HMODULE module, const char* name, Fn& fn) {
    fn = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    return fn != nullptr;
}

const MFApi& Api() {
    static const MFApi api = [] {
        MFApi a;
        HMODULE plat = LoadLibraryW(L"mfplat.dll");
        HMODULE mf = LoadLibraryW(L"mf.dll");
        bool found = Find(plat, "MFStartup", a.Startup) && Find(mf, "MFCreateMediaSession", a.CreateMediaSession) &&
                     Find(plat, "MFCreateSourceResolver", a.CreateSourceResolver) &&
                     Find(mf, "MFCreateTopology", a.CreateTopology) &&
                     Find(mf, "MFCreateTopologyNode", a.CreateTopologyNode) &&
                     Find(mf, "MFCreateAudioRendererActivate", a.CreateAudioRendererActivate) &&
                     Find(mf, "MFCreateSampleGrabberSinkActivate", a.CreateSampleGrabberSinkActivate) &&
                     Find(plat, "MFCreateMediaType", a.CreateMediaType) && Find(mf, "MFGetService", a.GetService);
        // Started once and never shut down: sessions may still be retiring at the process's end.
        a.loaded = found && SUCCEEDED(a.Startup(MF_VERSION, MFSTARTUP_FULL));
        return a;
    }();
    return api;
}

std::atomic<bool> everPlayed{false};  // a session has been made

// IUnknown for the callbacks: one interface each, and the one it derives from (Base).
template <typename Interface, typename Base = Interface>
class ComObject : public Interface {
public:
    virtual ~ComObject() = default;
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(Interface) || iid == __uuidof(Base)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }

private:
    LONG refs_ = 1;
};

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~Lock() { LeaveCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& cs_;
};

constexpr LPARAM kResolved = 100;  // the source is made: the topology can be built

}  // namespace

// What the callbacks and the window's thread share; every field under lock.
struct MFSession::Shared {
    Shared(HWND w, WPARAM n) : window(w), number(n) { InitializeCriticalSection(&lock); }
    ~Shared() { DeleteCriticalSection(&lock); }

    void Post(LPARAM what) const {
        if (window) PostMessageW(window, kEventMessage, number, what);
    }
    ComPtr<IMFMediaSession> Session() {
        Lock hold(lock);
        return session;
    }

    CRITICAL_SECTION lock;
    HWND window;  // none once retired
    WPARAM number;
    ComPtr<IMFMediaSession> session;
    ComPtr<IMFMediaSource> source;
    ComPtr<IMFSourceResolver> resolver;
    HRESULT failure = S_OK;
    bool retiring = false;
    bool running = false;  // started and not yet stopped or ended
    bool closeAsked = false;

    // The newest picture (front) and the one being copied (back, the grabber's alone).
    std::vector<BYTE> front, back;
    int frameWidth = 0;
    int frameHeight = 0;
    bool hasFrame = false;
    bool framePosted = false;
};

namespace {

using SharedPtr = std::shared_ptr<MFSession::Shared>;
using Event = MFSession::Event;

}  // namespace

// The session is over: its source and the session itself shut down, outside the lock.
void ShutDown(MFSession::Shared& shared, const ComPtr<IMFMediaSession>& session) {
    ComPtr<IMFMediaSource> source;
    {
        Lock lock(shared.lock);
        source = std::exchange(shared.source, {});
        shared.session.Reset();
    }
    if (source) source->Shutdown();
    if (session) session->Shutdown();
}

namespace {

// An answer of Media Foundation's for one session, on one of its threads.
class SessionCallback : public ComObject<IMFAsyncCallback> {
public:
    explicit SessionCallback(SharedPtr shared) : shared_(std::move(shared)) {}
    STDMETHODIMP GetParameters(DWORD*, DWORD*) override { return E_NOTIMPL; }

protected:
    SharedPtr shared_;
};

class EventCallback : public SessionCallback {
public:
    using SessionCallback::SessionCallback;
    STDMETHODIMP Invoke(IMFAsyncResult* result) override {
        ComPtr<IMFMediaSession> session = shared_->Session();
        if (!session) return S_OK;
        ComPtr<IMFMediaEvent> event;
        if (FAILED(session->EndGetEvent(result, event.Put()))) return S_OK;
        MediaEventType type = MEUnknown;
        HRESULT status = S_OK;
        event->GetType(&type);
        event->GetStatus(&status);
        bool again = type != MESessionClosed;
        bool close = false, shutDown = false;
        {
            Lock lock(shared_->lock);
            if (type == MESessionStopped || type == MESessionEnded) shared_->running = false;
            if (shared_->retiring) {
                if (type == MESessionClosed) {
                    shutDown = true;
                } else if (!shared_->running && !shared_->closeAsked) {
                    shared_->closeAsked = close = true;
                }
            } else if (FAILED(status) || type == MEError) {
                if (shared_->failure == S_OK) shared_->failure = FAILED(status) ? status : E_FAIL;
                shared_->Post(LPARAM(Event::Failed));
            } else {
                UINT32 topology = 0;
                switch (type) {
                case MESessionTopologyStatus:
                    if (SUCCEEDED(event->GetUINT32(MF_EVENT_TOPOLOGY_STATUS, &topology)) &&
                        topology == MF_TOPOSTATUS_READY)
                        shared_->Post(LPARAM(Event::Ready));
                    break;
                case MESessionStarted: shared_->Post(LPARAM(Event::Started)); break;
                case MESessionPaused: shared_->Post(LPARAM(Event::Paused)); break;
                case MESessionStopped: shared_->Post(LPARAM(Event::Stopped)); break;
                case MESessionEnded: shared_->Post(LPARAM(Event::Ended)); break;
                default: break;
                }
            }
        }
        if (close && FAILED(session->Close())) shutDown = true;
        if (shutDown) {
            ShutDown(*shared_, session);
            return S_OK;
        }
        if (again) session->BeginGetEvent(this, nullptr);
        return S_OK;
    }
};

class ResolveCallback : public SessionCallback {
public:
    using SessionCallback::SessionCallback;
    STDMETHODIMP Invoke(IMFAsyncResult* result) override {
        ComPtr<IMFSourceResolver> resolver;
        {
            Lock lock(shared_->lock);
            resolver = std::exchange(shared_->resolver, {});
        }
        if (!resolver) return S_OK;
        MF_OBJECT_TYPE type = MF_OBJECT_INVALID;
        ComPtr<IUnknown> object;
        HRESULT hr = resolver->EndCreateObjectFromURL(result, &type, object.Put());
        ComPtr<IMFMediaSource> source;
        if (SUCCEEDED(hr)) source = object.As<IMFMediaSource>(&hr);
        bool retired;
        {
            Lock lock(shared_->lock);
            retired = shared_->retiring;
            if (!retired) {
                shared_->source = source;
                if (FAILED(hr)) {
                    shared_->failure = hr;
                    shared_->Post(LPARAM(Event::Failed));
                } else {
                    shared_->Post(kResolved);
                }
            }
        }
        if (retired && source) source->Shutdown();
        return S_OK;
    }
};

// The grabber may keep its callback after its shutdown (Wine's does): the callback holds the
// session's state weakly, so that the state and its pictures go with the session.
class FrameCallback : public ComObject<IMFSampleGrabberSinkCallback, IMFClockStateSink> {
public:
    explicit FrameCallback(const SharedPtr& shared) : shared_(shared) {}
    STDMETHODIMP OnClockStart(MFTIME, LONGLONG) override { return S_OK; }
    STDMETHODIMP OnClockStop(MFTIME) override { return S_OK; }
    STDMETHODIMP OnClockPause(MFTIME) override { return S_OK; }
    STDMETHODIMP OnClockRestart(MFTIME) override { return S_OK; }
    STDMETHODIMP OnClockSetRate(MFTIME, float) override { return S_OK; }
    STDMETHODIMP OnSetPresentationClock(IMFPresentationClock*) override { return S_OK; }
    STDMETHODIMP OnShutdown() override { return S_OK; }
    STDMETHODIMP OnProcessSample(REFGUID, DWORD, LONGLONG, LONGLONG, const BYTE* data, DWORD size) override {
        SharedPtr shared = shared_.lock();
        if (!shared) return S_OK;
        std::vector<BYTE>& back = shared->back;  // only this callback writes it
        back.assign(data, data + size);
        Lock lock(shared->lock);
        int width = shared->frameWidth;
        if (width <= 0 || size % (DWORD(width) * 4) != 0) return S_OK;
        shared->frameHeight = int(size / (DWORD(width) * 4));
        shared->front.swap(back);
        shared->hasFrame = true;
        if (!shared->framePosted && shared->window) {
            shared->framePosted = true;
            PostMessageW(shared->window, MFSession::kFrameMessage, shared->number, 0);
        }
        return S_OK;
    }

private:
    std::weak_ptr<MFSession::Shared> shared_;
};

template <typename T>
ComPtr<T> Adopt(T* raw) {
    ComPtr<T> p;
    *p.Put() = raw;
    return p;
}

ComPtr<IMFTopologyNode> Node(MF_TOPOLOGY_TYPE type) {
    ComPtr<IMFTopologyNode> node;
    Check(Api().CreateTopologyNode(type, node.Put()));
    return node;
}

}  // namespace

bool MFSession::Available() { return Api().loaded; }
void MFSession::EndProcess(UINT code) {
    if (everPlayed) TerminateProcess(GetCurrentProcess(), code);
    ExitProcess(code);
}

MFSession::MFSession(HWND window, WPARAM number, const std::wstring& path)
    : shared_(std::make_shared<Shared>(window, number)), number_(number), path_(path) {
    const MFApi& api = Api();
    if (!api.loaded) Check(MF_E_NOT_INITIALIZED);
    everPlayed = true;
    ComPtr<IMFMediaSession> session;
    ComPtr<IMFSourceResolver> resolver;
    Check(api.CreateMediaSession(nullptr, session.Put()));
    Check(api.CreateSourceResolver(resolver.Put()));
    {
        Lock lock(shared_->lock);
        shared_->session = session;
        shared_->resolver = resolver;
    }
    auto events = Adopt(new EventCallback(shared_));
    auto resolved = Adopt(new ResolveCallback(shared_));
    HRESULT hr = session->BeginGetEvent(events.Get(), nullptr);
    if (SUCCEEDED(hr))
        hr = resolver->BeginCreateObjectFromURL(
            path.c_str(), MF_RESOLUTION_MEDIASOURCE | MF_RESOLUTION_CONTENT_DOES_NOT_HAVE_TO_MATCH_EXTENSION_OR_MIME_TYPE,
            nullptr, nullptr, resolved.Get(), nullptr);
    if (FAILED(hr)) {
        {
            Lock lock(shared_->lock);
            shared_->window = nullptr;
            shared_->resolver.Reset();
            shared_->session.Reset();
        }
        session->Shutdown();
        Check(hr);
    }
}

MFSession::~MFSession() {
    ComPtr<IMFMediaSession> session;
    bool stop = false;
    {
        Lock lock(shared_->lock);
        shared_->window = nullptr;
        shared_->retiring = true;
        session = shared_->session;
        if (!session) return;  // still resolving: the source goes when it comes
        if (shared_->closeAsked) return;
        stop = shared_->running;
        if (!stop) shared_->closeAsked = true;
    }
    // Wine's session can deadlock a Close while it plays: it stops first, and the Stopped
    // event closes it.
    if (stop ? FAILED(session->Stop()) : false) {
        Lock lock(shared_->lock);
        stop = false;
        shared_->closeAsked = true;
    }
    if (!stop && FAILED(session->Close())) ShutDown(*shared_, session);
}

HRESULT MFSession::Failure() const {
    Lock lock(shared_->lock);
    return shared_->failure;
}

MFSession::Event MFSession::Take(LPARAM message) {
    if (message == kResolved) {
        try {
            Build();
        } catch (const std::exception&) {
            Lock lock(shared_->lock);
            if (shared_->failure == S_OK) shared_->failure = MF_E_TOPO_UNSUPPORTED;
            return Event::Failed;
        }
        return Event::None;
    }
    if (message == LPARAM(Event::Ready) && !ready_) {
        ready_ = true;
        // The clock is read on every tick: found once, with the topology that made it.
        ComPtr<IMFMediaSession> session = shared_->Session();
        ComPtr<IMFClock> clock;
        if (session && SUCCEEDED(session->GetClock(clock.Put()))) clock_ = clock.As<IMFPresentationClock>();
    }
    return Event(message);
}

void MFSession::Build() {
    const MFApi& api = Api();
    ComPtr<IMFMediaSource> source;
    ComPtr<IMFMediaSession> session;
    {
        Lock lock(shared_->lock);
        source = shared_->source;
        session = shared_->session;
    }
    if (!source || !session) Check(E_UNEXPECTED);
    ComPtr<IMFPresentationDescriptor> descriptor;
    Check(source->CreatePresentationDescriptor(descriptor.Put()));
    UINT64 duration = 0;
    if (SUCCEEDED(descriptor->GetUINT64(MF_PD_DURATION, &duration))) duration_ = SecondsFromMediaTime(INT64(duration));
    ComPtr<IMFTopology> topology;
    Check(api.CreateTopology(topology.Put()));
    DWORD streams = 0;
    Check(descriptor->GetStreamDescriptorCount(&streams));
    auto majorOf = [&](DWORD i, BOOL* selected, ComPtr<IMFStreamDescriptor>* stream, ComPtr<IMFMediaTypeHandler>* handler) {
        GUID major = GUID_NULL;
        Check(descriptor->GetStreamDescriptorByIndex(i, selected, stream->Put()));
        if (FAILED((*stream)->GetMediaTypeHandler(handler->Put())) || FAILED((*handler)->GetMajorType(&major)))
            major = GUID_NULL;
        return major;
    };
    // A muted file with no picture still plays its sound, silently: it has a length to keep.
    bool anyVideo = false;
    for (DWORD i = 0; i < streams; ++i) {
        BOOL selected = FALSE;
        ComPtr<IMFStreamDescriptor> stream;
        ComPtr<IMFMediaTypeHandler> handler;
        anyVideo = (majorOf(i, &selected, &stream, &handler) == MFMediaType_Video && selected) || anyVideo;
    }
    bool video = false;
    for (DWORD i = 0; i < streams; ++i) {
        BOOL selected = FALSE;
        ComPtr<IMFStreamDescriptor> stream;
        ComPtr<IMFMediaTypeHandler> handler;
        GUID major = majorOf(i, &selected, &stream, &handler);
        ComPtr<IMFActivate> sink;
        if (selected && major == MFMediaType_Video && !video) {
            ComPtr<IMFMediaType> type;
            if (FAILED(handler->GetCurrentMediaType(type.Put()))) Check(handler->GetMediaTypeByIndex(0, type.Put()));
            UINT32 width = 0, height = 0, aspectX = 1, aspectY = 1;
            Check(MFGetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, &width, &height));
            MFGetAttributeRatio(type.Get(), MF_MT_PIXEL_ASPECT_RATIO, &aspectX, &aspectY);
            ComPtr<IMFMediaType> want;
            Check(api.CreateMediaType(want.Put()));
            want->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
            want->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_RGB32);
            auto grabber = Adopt(new FrameCallback(shared_));
            Check(api.CreateSampleGrabberSinkActivate(want.Get(), grabber.Get(), sink.Put()));
            video = true;
            videoWidth_ = int(width);
            videoHeight_ = int(height);
            // The picture's shape from its pixels' shape: the sample's pixels stay as they are.
            displayWidth_ = DisplayWidth(int(width), int(height), int(width * aspectX), int(height * aspectY));
            Lock lock(shared_->lock);
            shared_->frameWidth = int(width);
        } else if (selected && major == MFMediaType_Audio && !hasAudio_ && (!muted_ || !anyVideo)) {
            Check(api.CreateAudioRendererActivate(sink.Put()));
            hasAudio_ = true;
        }
        if (!sink) {
            if (selected) descriptor->DeselectStream(i);
            continue;
        }
        ComPtr<IMFTopologyNode> from = Node(MF_TOPOLOGY_SOURCESTREAM_NODE);
        from->SetUnknown(MF_TOPONODE_SOURCE, source.Get());
        from->SetUnknown(MF_TOPONODE_PRESENTATION_DESCRIPTOR, descriptor.Get());
        from->SetUnknown(MF_TOPONODE_STREAM_DESCRIPTOR, stream.Get());
        ComPtr<IMFTopologyNode> to = Node(MF_TOPOLOGY_OUTPUT_NODE);
        Check(to->SetObject(sink.Get()));
        Check(topology->AddNode(from.Get()));
        Check(topology->AddNode(to.Get()));
        Check(from->ConnectOutput(0, to.Get(), 0));
    }
    if (!video && !hasAudio_) Check(MF_E_INVALIDMEDIATYPE);
    Check(session->SetTopology(0, topology.Get()));
}

void MFSession::Start(double seconds) {
    PROPVARIANT at;
    PropVariantInit(&at);
    at.vt = VT_I8;
    at.hVal.QuadPart = MediaTimeFromSeconds(seconds);
    StartAt(at);
}

void MFSession::Resume() {
    PROPVARIANT here;
    PropVariantInit(&here);  // VT_EMPTY: from where it stands
    StartAt(here);
}

void MFSession::StartAt(const PROPVARIANT& at) {
    ComPtr<IMFMediaSession> session;
    {
        Lock lock(shared_->lock);
        session = shared_->session;
        shared_->running = true;
    }
    if (session) Check(session->Start(&GUID_NULL, &at));
}

void MFSession::Pause() {
    Lock lock(shared_->lock);
    if (shared_->session) Check(shared_->session->Pause());
}

void MFSession::Stop() {
    Lock lock(shared_->lock);
    if (shared_->session) Check(shared_->session->Stop());
}

double MFSession::ClockSeconds() const {
    MFTIME time = 0;
    if (!clock_ || FAILED(clock_->GetTime(&time))) return 0;
    return time > 0 ? SecondsFromMediaTime(time) : 0;
}

void MFSession::SetMute(bool mute) {
    if (!ready_) muted_ = mute;
    ComPtr<IMFMediaSession> session = shared_->Session();
    ComPtr<IMFSimpleAudioVolume> volume;
    if (hasAudio_ && session &&
        SUCCEEDED(Api().GetService(session.Get(), MR_POLICY_VOLUME_SERVICE, __uuidof(IMFSimpleAudioVolume),
                                   volume.PutVoid())))
        volume->SetMute(mute);
}

bool MFSession::HasFrame() const {
    Lock lock(shared_->lock);
    return shared_->hasFrame;
}

bool MFSession::TakeFrame() {
    Lock lock(shared_->lock);
    shared_->framePosted = false;
    return shared_->hasFrame;
}

void MFSession::DrawFrame(HDC dc, const RECT& dest) const {
    Lock lock(shared_->lock);
    if (!shared_->hasFrame) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shared_->frameWidth;
    info.bmiHeader.biHeight = -shared_->frameHeight;  // the grabber's rows run top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0,
                  shared_->frameWidth, shared_->frameHeight, shared_->front.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace kv
