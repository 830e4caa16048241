#pragma once
// The engine beneath the media player control: DirectShow and Media Foundation side by side,
// each file offered to them in the order EnginesFor gives. A file that the first engine
// cannot open goes to the next; a file that Media Foundation would not seek goes to
// DirectShow at that place, in the state the caller last asked for, and the caller sees one
// open file throughout. When a file changes engine, the previous file's last picture stands
// in until the new one has opened.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "saver/player/EngineRoute.h"
#include "saver/player/MediaEngine.h"

namespace kv {

class RoutingPlayer : public MediaEngine {
public:
    // Makes one engine (null when it is not on this system).
    using EngineMaker = std::function<std::unique_ptr<MediaEngine>(EngineKind, HWND, MediaEngineEvents&)>;
    static std::unique_ptr<MediaEngine> MakeSystemEngine(EngineKind kind, HWND window, MediaEngineEvents& events);

    RoutingPlayer(HWND window, MediaEngineEvents& events, const EngineMaker& make = MakeSystemEngine);
    RoutingPlayer(const RoutingPlayer&) = delete;
    RoutingPlayer& operator=(const RoutingPlayer&) = delete;

    void Load(const std::wstring& path) override;
    void Prepare(const std::wstring& path) override;
    void Close() override;

    void Run() override;
    void Pause() override;
    void Stop() override;
    double Position() const override;
    void SetPosition(double seconds) override;
    double Duration() const override;
    void SetMute(bool mute) override;

    bool HandleMessage(UINT message, WPARAM wp, LPARAM lp) override;
    void Watch(unsigned long nowMs) override;

    void Resize(int clientWidth, int clientHeight) override;
    void PaintBackground(HDC dc) const override;
    void RefreshPicture() override;
    PictureRect PictureArea() const override;
    bool HasVideo() const override;
    bool ShowingLastPicture() const override;
    void RevealSurface() override;

    // The engine that holds (or opens) the file; none when nothing is open.
    std::optional<EngineKind> Active() const { return active_; }

private:
    enum class RunState { Play, Pause, Stop };
    // The events of one engine, told apart.
    class Relay : public MediaEngineEvents {
    public:
        Relay(RoutingPlayer& owner, EngineKind kind) : owner_(owner), kind_(kind) {}
        void EngineOpened() override { owner_.Opened(kind_); }
        void EngineFailed(const std::string& reason) override { owner_.Failed(kind_, reason); }
        void EngineEnded() override { owner_.Ended(kind_); }
        void EngineCannotSeek(double seconds) override { owner_.CannotSeek(kind_, seconds); }

    private:
        RoutingPlayer& owner_;
        EngineKind kind_;
    };

    MediaEngine* Engine(EngineKind kind) const { return engines_[int(kind)].get(); }
    MediaEngine* Made(EngineKind kind);  // made at its first need; null when not on this system
    void OfferNext(const std::string& reason);
    MediaEngine* ActiveEngine() const { return active_ ? Engine(*active_) : nullptr; }
    void Offer(EngineKind kind);
    void LetGoOfLeaving();
    void Opened(EngineKind kind);
    void Failed(EngineKind kind, const std::string& reason);
    void Ended(EngineKind kind);
    void CannotSeek(EngineKind kind, double seconds);

    MediaEngineEvents& events_;
    Relay relays_[2];
    EngineMaker make_;
    HWND window_;
    std::unique_ptr<MediaEngine> engines_[2];
    bool made_[2] = {};
    std::optional<bool> mute_;
    std::optional<std::pair<int, int>> size_;
    std::optional<EngineKind> active_;
    std::optional<EngineKind> leaving_;  // the previous file's engine, its last picture standing in
    // After a change of engine, until RevealSurface: the new file shows its first picture
    // already, as an engine's own change would stand in (the caller keeps the picture shown).
    bool standIn_ = false;
    std::wstring path_;
    std::vector<EngineKind> order_;
    size_t tried_ = 0;
    std::string firstFailure_;
    RunState run_ = RunState::Play;
    // A file handed to the next engine while open: where it goes on, and how.
    struct HandOver {
        double at;
        double duration;
    };
    std::optional<HandOver> handOver_;
};

}  // namespace kv
