#pragma once
// The media player control on a visible top-level window, its engines DirectShow's (made with
// the test's options) and Media Foundation's: the tests drive the engine through the control's own wiring (its
// messages, size, painting and watch timer). Plus the waits and screen reads they need.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Exception.h"
#include "framework/Scoped.h"
#include "saver/player/DShowPlayer.h"
#include "saver/player/RoutingPlayer.h"
#include "tests/win/support/Clips.h"

namespace kv::test {

// Which of the clip colours covers most of a screen rectangle.
enum class Colour { Black, White, Red, Green, Blue, Yellow, Magenta, Cyan, Other };
const char* ColourName(Colour c);
Colour DominantColour(const RECT& screenRect);

class PlayerControl;

// Makes the control's Media Foundation engine in place of the system's (tests stand in one).
using EngineFactory = std::function<std::unique_ptr<MediaEngine>(HWND window, MediaEngineEvents& events)>;

class PlayerHarness {
public:
    // The control, clientWidth x clientHeight, with its engines made at once. Given a load
    // hook (a test of DirectShow's loads), DirectShow alone: no file goes on to the other.
    PlayerHarness(int clientWidth = 320, int clientHeight = 240, DShowPlayerOptions options = {},
                  EngineFactory mediaFoundation = {});
    ~PlayerHarness();
    PlayerHarness(const PlayerHarness&) = delete;
    PlayerHarness& operator=(const PlayerHarness&) = delete;

    // The control's window, in which the picture is drawn.
    HWND Window() const;
    DShowPlayer& Player() { return *player_; }
    // The control's engine: DirectShow's and Media Foundation's files.
    RoutingPlayer& Engines() { return *routing_; }
    // Opens path through the control, which plays it once it stands ready; throws
    // kv::Exception with the reason when it cannot be played.
    void Open(const std::wstring& path);
    // Destroys the control now, and its engine with it (the control's teardown).
    void DestroyPlayer();
    // The renderer's window that shows inside the control (null when none).
    HWND VideoChild() const;
    // The picture's area on the screen.
    RECT PictureOnScreen() const;

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
    ScopedCoInitialize com_;
    PlayerControl* control_ = nullptr;
    DShowPlayer* player_ = nullptr;
    RoutingPlayer* routing_ = nullptr;
    int opened_ = 0;
    int failed_ = 0;
    std::string lastFailure_;
    int ends_ = 0;
    int mouseMoves_ = 0;
    int keyDowns_ = 0;
    LPARAM lastMouseMove_ = 0;
};

}  // namespace kv::test
