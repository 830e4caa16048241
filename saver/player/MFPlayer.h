#pragma once
// Plays one file at a time through Media Foundation, drawn inside a window the caller owns:
// the engine beneath the media player control for the MPEG-4 family, QuickTime and Matroska
// files, which DirectShow on Windows has no source for. Every call on the GUI thread of that
// window; no call waits: each session answers by messages (see MFSession), which the caller
// hands to HandleMessage.
//
// A file is open once its first picture has come (or, without a picture, once it has
// started): it plays from then on. A session is made for each file; the next one can be made
// ready while a file plays (Prepare), and the previous file's last picture stays until the next file's first one
// replaces it, so a change shows no black.
//
// The transport's rules are SessionTransport's. A session that starts somewhere else than a
// seek asked refuses it: EngineCannotSeek tells the caller, who may hand the file on.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "saver/player/EndWatch.h"
#include "saver/player/MFSession.h"
#include "saver/player/MediaEngine.h"
#include "saver/player/PictureFit.h"
#include "saver/player/SessionTransport.h"

namespace kv {

class MFPlayer : public MediaEngine {
public:
    static constexpr UINT kFailMessage = WM_APP + 7;  // wParam: the open's number; lParam: its result
    // Longest a file may take to show its first picture before it counts as unplayable.
    static constexpr unsigned long kOpenTimeoutMs = 10000;

    static bool Available() { return MFSession::Available(); }

    MFPlayer(HWND window, MediaEngineEvents& events);
    // Retires every session; none is waited for.
    ~MFPlayer() override;
    MFPlayer(const MFPlayer&) = delete;
    MFPlayer& operator=(const MFPlayer&) = delete;

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
    PictureRect PictureArea() const override { return picture_; }
    bool HasVideo() const override { return current_ && current_->HasVideo(); }
    bool ShowingLastPicture() const override { return standIn_; }
    void RevealSurface() override;

private:
    MFSession* Find(WPARAM number) const;
    void OnEvent(MFSession& session, MFSession::Event event);
    void OnFrame(MFSession& session);
    void StartOpening();
    void Opened();
    void Fail(const std::string& reason);
    void Apply(const SessionOrder& order);
    void SeekStopped();
    void SeekStarted();
    void PlaceVideo();
    void DrawNow();
    std::unique_ptr<MFSession> MakeSession(const std::wstring& path);

    HWND window_;
    MediaEngineEvents& events_;
    bool mute_ = false;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    PictureRect picture_;
    EndWatch endWatch_;
    WPARAM nextNumber_ = 1;

    std::unique_ptr<MFSession> current_;   // the open file
    std::unique_ptr<MFSession> opening_;   // the file given to Load, until its first picture
    std::unique_ptr<MFSession> prepared_;  // the file given to Prepare
    std::unique_ptr<MFSession> previous_;  // stopped; its last picture stands in
    bool standIn_ = false;
    WPARAM failing_ = 0;  // an open that failed before it had a session: its answer is posted
    unsigned long openStartedMs_ = 0;

    SessionTransport transport_;
    bool sessionEnded_ = false;  // the session has said it ended: it stands stopped
};

}  // namespace kv
