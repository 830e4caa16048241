#pragma once
// Plays one video file at a time through DirectShow, drawn inside a window the caller owns:
// the DirectShow engine beneath the media player control. No UI of its own; every call on the
// GUI thread of that window, in a single-threaded apartment the caller has entered. No call
// waits: a file is built into a graph on a thread of its own (GraphSlot), whose end comes
// back as a message to the window, and the caller hands that message to HandleMessage.
// Two graphs take turns: while one plays, the next file can be made ready in the other, so
// that the change between files shows no black (Prepare, then Load the same path). The
// graphs and their renderers last as long as the player.
#include <windows.h>
#include <dshow.h>

#include <memory>
#include <string>
#include <vector>

#include "saver/player/EndWatch.h"
#include "saver/player/GraphSlot.h"
#include "saver/player/MediaEngine.h"
#include "saver/player/PictureFit.h"

namespace kv {

struct DShowPlayerOptions {
    // Longest a file may take to be built and stand on its first picture before it counts as
    // unplayable and its graph is given up.
    DWORD loadTimeoutMs = 10000;
    GraphSlot::LoadHook loadHook;  // tests
};

class DShowPlayer : public MediaEngine {
public:
    // Posted to videoWindow; WM_APP + 2 is the control's own.
    static constexpr UINT kGraphEventMessage = WM_APP + 1;
    static constexpr UINT kLoadDoneMessage = WM_APP + 3;  // wParam: the load's token
    static constexpr UINT kAnswerMessage = WM_APP + 4;    // wParam: the open's number; lParam: its result
    using Options = DShowPlayerOptions;

    // videoWindow: the control's own window. The picture is drawn inside it; graph events and
    // the ends of loads are posted to it; the video window's mouse and key messages are routed
    // to it (message drain). events: told what happens, from HandleMessage and Watch.
    DShowPlayer(HWND videoWindow, MediaEngineEvents& events, Options options = {});
    // Cancels the loads under way and joins their threads (see GraphSlot).
    ~DShowPlayer() override;
    DShowPlayer(const DShowPlayer&) = delete;
    DShowPlayer& operator=(const DShowPlayer&) = delete;

    // At once when Prepare made path ready or when it is the file that has just ended (it
    // starts again), otherwise once it is built; a missing or unplayable file fails.
    void Load(const std::wstring& path) override;
    // Makes path ready in the spare graph while the current file plays. Does nothing when the
    // spare graph is busy or the file is missing.
    void Prepare(const std::wstring& path) override;
    void Close() override;

    void Run() override;
    void Pause() override;
    void Stop() override;
    double Position() const override;
    void SetPosition(double seconds) override;  // 0 rewinds; held at the length
    double Duration() const override;
    void SetMute(bool mute) override;
    bool Mute() const { return mute_; }

    bool HandleMessage(UINT message, WPARAM wp, LPARAM lp) override;
    void Watch(unsigned long nowMs) override;

    void Resize(int clientWidth, int clientHeight) override;
    void PaintBackground(HDC dc) const override;
    // Wine's renderer does not redraw the picture it drew while hidden, and an MPEG file's
    // next picture may be half a second away: draws the first picture again near the start.
    void RefreshPicture() override;
    PictureRect PictureArea() const override { return picture_; }
    bool HasVideo() const override { return current_ && current_->HasVideo(); }
    bool ShowingLastPicture() const override { return handover_ != nullptr; }
    void RevealSurface() override;

    bool IsOpen() const { return current_ != nullptr; }
    bool HasAudio() const { return current_ && current_->HasAudio(); }

private:
    enum class GraphState { Stopped, Paused, Running };
    enum class Pending { None, Slot, Rewind };

    GraphSlot& Slot(int index);
    void LetGoOfCurrent();
    void Answer(HRESULT hr);
    void LoadInto(GraphSlot& slot, const std::wstring& path);
    void OnLoadDone(WPARAM token);
    void OnAnswer(WPARAM open, HRESULT hr);
    void Abandon(int index);
    void Fail(const std::string& reason);
    void SwitchTo(GraphSlot& slot);
    void CloseCurrent();
    void DrainGraphEvents();
    void ChangeState(GraphState state);
    void ApplyVolume();
    void PlaceVideo();

    HWND window_;
    MediaEngineEvents& events_;
    Options options_;
    bool mute_ = false;
    GraphState state_ = GraphState::Stopped;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    PictureRect picture_;
    EndWatch endWatch_;

    std::unique_ptr<GraphSlot> slots_[2];  // made when first needed
    // Given up after they overran their time; each goes when its load's end comes.
    std::vector<std::unique_ptr<GraphSlot>> abandoned_;
    GraphSlot* current_ = nullptr;   // the open file's graph
    GraphSlot* handover_ = nullptr;  // the previous file's, while its last picture shows
    WPARAM nextToken_ = 1;

    // The open under way: its number, what it waits for, and a file to load into its graph
    // once the load that graph is busy with has ended.
    WPARAM open_ = 0;
    Pending pending_ = Pending::None;
    GraphSlot* opening_ = nullptr;
    std::wstring queued_;
};

}  // namespace kv
