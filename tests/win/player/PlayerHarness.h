#pragma once
// A visible top-level window that owns a DShowPlayer the way the media player control does
// (it hands the player its messages and hears its events), plus the waits and screen reads
// the player tests need.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Exception.h"

#include "framework/Scoped.h"
#include "framework/WindowRoute.h"
#include "saver/player/DShowPlayer.h"
#include "tests/win/support/Clips.h"

namespace kv::test {

// Which of the clip colours covers most of a screen rectangle.
enum class Colour { Black, White, Red, Green, Blue, Yellow, Other };
const char* ColourName(Colour c);
Colour DominantColour(const RECT& screenRect);

class PlayerHarness : private WindowTarget, private MediaEngineEvents {
public:
    // The test window, its client area made clientWidth x clientHeight, with a new player.
    PlayerHarness(int clientWidth = 320, int clientHeight = 240, DShowPlayerOptions options = {});
    ~PlayerHarness();
    PlayerHarness(const PlayerHarness&) = delete;
    PlayerHarness& operator=(const PlayerHarness&) = delete;

    HWND Window() const { return window_; }
    DShowPlayer& Player() { return *player_; }
    // Loads path and runs it once it stands ready, as the control does when nothing else was
    // asked meanwhile; throws kv::Exception with the reason when it cannot be played.
    void Open(const std::wstring& path);
    // Destroys the player now, as the control's teardown does.
    void DestroyPlayer() { player_.reset(); }
    // The renderer's window that shows inside ours (null when none).
    HWND VideoChild() const;
    // The picture's area on the screen.
    RECT PictureOnScreen() const;

    // Dispatches messages for ms milliseconds, letting the player watch every 100 ms as the
    // media player control's timer does.
    void Pump(DWORD ms);
    // Pumps until done() holds or timeoutMs passes; returns done().
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

    int Opened() const { return opened_; }
    int Failed() const { return failed_; }
    const std::string& LastFailure() const { return lastFailure_; }
    int Ends() const { return ends_; }
    int MouseMoves() const { return mouseMoves_; }
    int KeyDowns() const { return keyDowns_; }
    LPARAM LastMouseMove() const { return lastMouseMove_; }

private:
    LRESULT HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void EngineOpened() override { ++opened_; }
    void EngineFailed(const std::string& reason) override {
        ++failed_;
        lastFailure_ = reason;
    }
    void EngineEnded() override { ++ends_; }

    ScopedCoInitialize com_;
    HWND window_ = nullptr;
    std::unique_ptr<DShowPlayer> player_;
    DWORD lastWatch_ = 0;
    int opened_ = 0;
    int failed_ = 0;
    std::string lastFailure_;
    int ends_ = 0;
    int mouseMoves_ = 0;
    int keyDowns_ = 0;
    LPARAM lastMouseMove_ = 0;
};

}  // namespace kv::test
