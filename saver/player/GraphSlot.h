#pragma once
// One filter graph that lives as long as the player, with its own video and sound renderers.
// Files come and go in it: a load takes out the previous file's source, splitter and decoders
// and renders the new file into the same renderers. A new sound renderer would cost the
// process a thread for good (Wine's DirectSound keeps one per device), a new graph a little
// more memory each time: over a night of short clips both add up.
//
// Apartments: the graph and the video renderer are made on the window's thread, in its
// single-threaded apartment, and released there (the renderer's window belongs to that
// thread). A load runs on a thread of its own in the multithreaded apartment: it calls the
// same graph directly (Wine's filter graph is free-threaded, so no proxy stands between) and
// makes the source, splitter, decoders and sound renderers there, which the graph then holds.
// The load lets go of everything before its end is posted; the last reference, and with it
// every filter, goes on the window's thread. While Loading, only the load touches the graph.
#include <windows.h>
#include <dshow.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Scoped.h"
#include "saver/player/BackgroundRender.h"
#include "saver/player/SlotRules.h"

namespace kv {

class GraphSlot {
public:
    // Longest wait for a loaded file to stand paused on its first picture.
    static constexpr DWORD kPrerollTimeoutMs = 5000;
    // Run on the load's thread before the graph work; tests stand in a load that never returns.
    using LoadHook = std::function<void(const std::wstring& path)>;

    // Builds the graph and the video renderer, whose window becomes a hidden child of owner
    // (it belongs to the calling thread). Graph events are posted to owner as eventMessage,
    // the end of a load as loadMessage with its token as wParam.
    GraphSlot(HWND owner, UINT eventMessage, UINT loadMessage, LoadHook hook = {});
    // Cancels a load still running and joins its thread (see OwnedThread). A load that does
    // not end even then keeps the graph for good: nothing else may touch it meanwhile.
    ~GraphSlot();
    GraphSlot(const GraphSlot&) = delete;
    GraphSlot& operator=(const GraphSlot&) = delete;

    SlotState State() const { return state_; }
    // Starts loading path on a thread of its own: Loading until FinishLoad. The file ends up
    // paused on its first picture, its video surface hidden.
    void BeginLoad(const std::wstring& path, WPARAM token);
    WPARAM LoadToken() const { return token_; }
    unsigned long LoadStartedMs() const { return loadStartedMs_; }
    // The load ends at its next step, failing; its message still comes.
    void CancelLoad();
    // On the load's message: Loaded, or Empty and the failure's result.
    HRESULT FinishLoad();
    void MakeCurrent();  // a Loaded file becomes the open one
    // The slot lets go of its file for the caller's purposes (its filters go at the next load).
    void Forget();

    const std::wstring& Path() const { return path_; }  // the file loaded or loading
    bool HasVideo() const { return ready() && hasVideo_; }
    bool HasAudio() const { return ready() && hasAudio_; }
    int VideoWidth() const { return videoWidth_; }      // display width (aspect ratio applied)
    int VideoHeight() const { return videoHeight_; }

    IMediaControl& Control() const { return *control_.Get(); }
    IMediaSeeking& Seeking() const { return *seeking_.Get(); }
    IMediaEventEx& Events() const { return *events_.Get(); }
    // Volume in hundredths of a decibel, when the file has sound.
    void SetVolume(long volume);
    // The renderer's window: shown or hidden, placed in the owner's client area. Showing it
    // draws the file's first picture again: the renderer draws nothing while it is hidden,
    // and an MPEG file's next picture may be half a second away.
    void ShowSurface(bool show);
    // Draws the first picture into the surface again (while the file is near its start).
    void PaintFirstPicture();
    bool SurfaceShown() const { return surfaceShown_; }
    void PlaceSurface(int x, int y, int width, int height);

private:
    struct Parts;
    static HRESULT Load(const std::shared_ptr<Parts>& parts, const std::wstring& path);
    static HRESULT Preroll(Parts& parts);
    void ReadVideoSize();
    void KeepFirstPicture();

    bool ready() const { return state_ == SlotState::Loaded || state_ == SlotState::Current; }

    std::shared_ptr<Parts> parts_;
    std::unique_ptr<BackgroundRender> load_;
    LoadHook hook_;
    HWND owner_;
    UINT loadMessage_;
    SlotState state_ = SlotState::Empty;
    WPARAM token_ = 0;
    unsigned long loadStartedMs_ = 0;
    std::wstring path_;
    bool hasVideo_ = false;
    bool hasAudio_ = false;
    bool surfaceShown_ = false;
    int videoWidth_ = 0;
    int videoHeight_ = 0;
    HWND surface_ = nullptr;            // the renderer's window
    std::vector<BYTE> firstPicture_;    // a packed DIB, while the file is near its start
    ComPtr<IMediaControl> control_;
    ComPtr<IMediaSeeking> seeking_;
    ComPtr<IMediaEventEx> events_;
    ComPtr<IVideoWindow> window_;
};

}  // namespace kv
