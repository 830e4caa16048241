#pragma once
// One filter graph that lives as long as the player, with its own video and sound renderers.
// Files come and go in it: a load takes out the previous file's source, splitter and decoders
// and renders the new file into the same renderers. A new sound renderer would cost the
// process a thread for good (Wine's DirectSound keeps one per device), a new graph a little
// more memory each time: over a night of short clips both add up.
#include <windows.h>
#include <dshow.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Scoped.h"
#include "saver/player/BackgroundRender.h"

namespace kv {

class GraphSlot {
public:
    // Longest wait for a loaded file to stand paused on its first picture.
    static constexpr DWORD kPrerollTimeoutMs = 5000;

    // Builds the graph and the video renderer, whose window becomes a hidden child of owner
    // (it belongs to the calling thread). Graph events are posted to owner as message.
    GraphSlot(HWND owner, UINT message);
    // A load still running is left to finish on its own thread.
    ~GraphSlot();
    GraphSlot(const GraphSlot&) = delete;
    GraphSlot& operator=(const GraphSlot&) = delete;

    // Starts loading path on a thread of its own; the slot stays busy until LoadDone. The
    // file ends up paused on its first picture, its video surface hidden.
    void BeginLoad(const std::wstring& path);
    bool Loading() const { return load_ && !load_->Finished(); }
    HANDLE LoadDone() const { return load_ ? load_->Done() : nullptr; }
    // Once LoadDone is signalled: takes over the result; throws kv::Exception when the file
    // cannot be played. The slot then holds no file.
    void FinishLoad();
    // The slot lets go of its file for the caller's purposes (its filters go at the next load).
    void Forget();

    const std::wstring& Path() const { return path_; }  // the file loaded or loading
    bool Ready() const { return ready_; }               // loaded and playable
    bool HasVideo() const { return ready_ && hasVideo_; }
    bool HasAudio() const { return ready_ && hasAudio_; }
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
    static HRESULT Preroll(const ComPtr<IGraphBuilder>& graph);
    void ReadVideoSize();
    void KeepFirstPicture();

    std::shared_ptr<Parts> parts_;
    std::unique_ptr<BackgroundRender> load_;
    std::wstring path_;
    bool ready_ = false;
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
