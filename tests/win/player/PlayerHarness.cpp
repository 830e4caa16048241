#include "tests/win/player/PlayerHarness.h"

#include <memory>
#include <utility>

#include "framework/Form.h"
#include "saver/player/MediaPlayerX.h"
#include "tests/win/support/WinTestKit.h"

namespace kv::test {
namespace {

Colour Classify(int r, int g, int b) {
    struct Sample { Colour colour; int r, g, b; };
    // The clips' lavfi colours: "green" is half-bright.
    static const Sample kSamples[] = {
        {Colour::Black, 0, 0, 0},     {Colour::White, 255, 255, 255}, {Colour::Red, 255, 0, 0},
        {Colour::Green, 0, 128, 0},   {Colour::Blue, 0, 0, 255},      {Colour::Yellow, 255, 255, 0},
        {Colour::Magenta, 255, 0, 255}, {Colour::Cyan, 0, 255, 255},
    };
    Colour best = Colour::Other;
    int bestDistance = 80 * 80 * 3;  // farther than this from every sample is no clip colour
    for (const Sample& s : kSamples) {
        int d = (r - s.r) * (r - s.r) + (g - s.g) * (g - s.g) + (b - s.b) * (b - s.b);
        if (d < bestDistance) {
            bestDistance = d;
            best = s.colour;
        }
    }
    return best;
}

}  // namespace

const char* ColourName(Colour c) {
    switch (c) {
        case Colour::Black: return "black";
        case Colour::White: return "white";
        case Colour::Red: return "red";
        case Colour::Green: return "green";
        case Colour::Blue: return "blue";
        case Colour::Yellow: return "yellow";
        case Colour::Magenta: return "magenta";
        case Colour::Cyan: return "cyan";
        default: return "other";
    }
}

Colour DominantColour(const RECT& r) {
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return Colour::Other;
    // Read from the screen itself: what the user sees, whoever drew it.
    ScopedGetDC screen(nullptr);
    ScopedMemoryDC memory(screen.Get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    ScopedGdiObject bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    int counts[int(Colour::Other) + 1] = {};
    if (memory && bitmap) {
        {
            ScopedSelectObject select(memory.Get(), bitmap.Get());
            BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
        }
        GdiFlush();
        const auto* pixels = static_cast<const unsigned char*>(bits);
        for (int i = 0; i < width * height; ++i)
            ++counts[int(Classify(pixels[4 * i + 2], pixels[4 * i + 1], pixels[4 * i]))];
    }
    int best = int(Colour::Other);
    for (int c = 0; c <= int(Colour::Other); ++c)
        if (counts[c] > counts[best]) best = c;
    // Dominant means more than half.
    return counts[best] * 2 > width * height ? Colour(best) : Colour::Other;
}

// The control with its engine made with the test's options.
class PlayerControl : public TMediaPlayerX {
public:
    PlayerControl(Form* host, int width, int height, DShowPlayerOptions options, EngineFactory mediaFoundation)
        : TMediaPlayerX(host, Args(host, width, height)),
          directShowAlone_(bool(options.loadHook)),
          options_(std::move(options)),
          mediaFoundation_(std::move(mediaFoundation)) {
        Engine();
    }
    DShowPlayer* player = nullptr;
    RoutingPlayer* routing = nullptr;

protected:
    // The control's own engines, DirectShow's made with the test's options.
    std::unique_ptr<MediaEngine> MakeEngine(HWND window, kv::MediaEngineEvents& events) override {
        auto made = std::make_unique<RoutingPlayer>(
            window, events, [this](EngineKind kind, HWND w, kv::MediaEngineEvents& e) -> std::unique_ptr<MediaEngine> {
                if (kind != EngineKind::DirectShow) {
                    if (mediaFoundation_) return mediaFoundation_(w, e);
                    return directShowAlone_ ? nullptr : RoutingPlayer::MakeSystemEngine(kind, w, e);
                }
                auto directShow = std::make_unique<DShowPlayer>(w, e, std::move(options_));
                player = directShow.get();
                return directShow;
            });
        routing = made.get();
        return made;
    }

private:
    static ControlArgs Args(Form* host, int width, int height) {
        ControlArgs args;
        args.name = "Mp1";
        args.parent = host;
        args.width = width;
        args.height = height;
        return args;
    }
    bool directShowAlone_;
    DShowPlayerOptions options_;
    EngineFactory mediaFoundation_;
};

PlayerHarness::PlayerHarness(int clientWidth, int clientHeight, DShowPlayerOptions options,
                             EngineFactory mediaFoundation) {
    // One window holds every test's control: under Wine without a window manager, destroying a
    // visible captioned window waits two seconds for a withdrawal that never comes.
    static Form* host = new Form(nullptr, FormArgs{.name = "PlayerTest", .caption = "player test", .clientWidth = 400,
                                                   .clientHeight = 300, .dialogKeys = false});
    SetWindowPos(host->Handle(), HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    host->SetClientSize(clientWidth, clientHeight);
    SetForegroundWindow(host->Handle());
    control_ = new PlayerControl(host, clientWidth, clientHeight, std::move(options), std::move(mediaFoundation));
    player_ = control_->player;
    routing_ = control_->routing;
    control_->OnOpened = [this] { ++opened_; };
    control_->OnOpenFailed = [this](const std::string& reason) {
        ++failed_;
        lastFailure_ = reason;
    };
    control_->OnEndOfStream = [this] { ++ends_; };
    control_->OnMouseMove = [this](ShiftState, int x, int y) {
        ++mouseMoves_;
        lastMouseMove_ = MAKELPARAM(x, y);
    };
    control_->OnKeyDown = [this](WORD&, ShiftState) { ++keyDowns_; };
}

PlayerHarness::~PlayerHarness() {
    DestroyPlayer();
    Pump(20);  // leave no message of this control in the queue
}

void PlayerHarness::DestroyPlayer() {
    delete std::exchange(control_, nullptr);
    player_ = nullptr;
}

HWND PlayerHarness::Window() const { return control_->Handle(); }

HWND PlayerHarness::VideoChild() const {
    // The player keeps a renderer per graph; the picture is in the one that shows.
    for (HWND child = GetWindow(Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) return child;
    return nullptr;
}

RECT PlayerHarness::PictureOnScreen() const {
    PictureRect p = player_->PictureArea();
    RECT r{p.x, p.y, p.x + p.width, p.y + p.height};
    MapWindowPoints(Window(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void PlayerHarness::Pump(DWORD ms) { test::Pump(ms); }

bool PlayerHarness::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    return test::PumpUntil(done, timeoutMs);
}

void PlayerHarness::Open(const std::wstring& path) {
    const int opened = opened_, failed = failed_;
    control_->Open(path);
    if (!PumpUntil([&] { return opened_ > opened || failed_ > failed; }, 20000))
        throw Exception("no answer to the open");
    if (failed_ > failed) throw Exception(lastFailure_);
}

}  // namespace kv::test
