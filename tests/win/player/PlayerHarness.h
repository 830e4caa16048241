#pragma once
// A visible top-level window that owns a DShowPlayer the way the media player control does,
// plus the waits and screen reads the player tests need.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Scoped.h"
#include "framework/WindowRoute.h"
#include "saver/player/DShowPlayer.h"
#include "tests/win/support/Clips.h"

namespace kv::test {

// Which of the clip colours covers most of a screen rectangle.
enum class Colour { Black, White, Red, Green, Blue, Yellow, Other };
const char* ColourName(Colour c);
Colour DominantColour(const RECT& screenRect);

class PlayerHarness : private WindowTarget {
public:
    // The test window, its client area made clientWidth x clientHeight, with a new player.
    PlayerHarness(int clientWidth = 320, int clientHeight = 240);
    ~PlayerHarness();
    PlayerHarness(const PlayerHarness&) = delete;
    PlayerHarness& operator=(const PlayerHarness&) = delete;

    HWND Window() const { return window_; }
    DShowPlayer& Player() { return *player_; }
    // The renderer's window that shows inside ours (null when none).
    HWND VideoChild() const;
    // The picture's area on the screen.
    RECT PictureOnScreen() const;

    // Dispatches messages for ms milliseconds, asking the player about stalled ends every 100 ms
    // as the media player control's watch timer does.
    void Pump(DWORD ms);
    // Pumps until done() holds or timeoutMs passes; returns done().
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

    int Ends() const { return ends_; }
    int MouseMoves() const { return mouseMoves_; }
    int KeyDowns() const { return keyDowns_; }
    LPARAM LastMouseMove() const { return lastMouseMove_; }

private:
    LRESULT HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    ScopedCoInitialize com_;
    HWND window_ = nullptr;
    std::unique_ptr<DShowPlayer> player_;
    DWORD lastStallCheck_ = 0;
    int ends_ = 0;
    int mouseMoves_ = 0;
    int keyDowns_ = 0;
    LPARAM lastMouseMove_ = 0;
};

}  // namespace kv::test
