#include "tests/win/player/PlayerHarness.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "tests/win/support/WinTestKit.h"

namespace kv::test {
namespace {

constexpr wchar_t kClassName[] = L"KinovelaPlayerTest";

Colour Classify(int r, int g, int b) {
    struct Sample { Colour colour; int r, g, b; };
    // The clips' lavfi colours: "green" is half-bright.
    static const Sample kSamples[] = {
        {Colour::Black, 0, 0, 0},     {Colour::White, 255, 255, 255}, {Colour::Red, 255, 0, 0},
        {Colour::Green, 0, 128, 0},   {Colour::Blue, 0, 0, 255},      {Colour::Yellow, 255, 255, 0},
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
    int counts[7] = {};
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
    for (int c = 0; c < 7; ++c)
        if (counts[c] > counts[best]) best = c;
    // Dominant means more than half.
    return counts[best] * 2 > width * height ? Colour(best) : Colour::Other;
}

PlayerHarness::PlayerHarness(int clientWidth, int clientHeight, DShowPlayerOptions options) {
    // One window serves every test: under Wine without a window manager, destroying a
    // visible captioned window waits two seconds for a withdrawal that never comes.
    static HWND shared = nullptr;
    if (!shared) {
        RegisterWindowClass({.name = kClassName, .arrowCursor = true});
        shared = CreateWindowExW(WS_EX_TOPMOST, kClassName, L"player test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!shared) throw std::runtime_error("cannot create the test window");
    }
    window_ = shared;
    // The shared window reports to the harness of the running test.
    SetWindowTarget(window_, this);
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(window_, HWND_TOPMOST, 40, 40, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_SHOWWINDOW);
    SetForegroundWindow(window_);
    player_ = std::make_unique<DShowPlayer>(window_, static_cast<MediaEngineEvents&>(*this), std::move(options));
    InvalidateRect(window_, nullptr, TRUE);
    Pump(50);
}

PlayerHarness::~PlayerHarness() {
    player_.reset();
    Pump(20);  // leave no event of this player in the shared window's queue
    SetWindowTarget(window_, nullptr);
}

HWND PlayerHarness::VideoChild() const {
    // The player keeps a renderer per graph; the picture is in the one that shows.
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) return child;
    return nullptr;
}

RECT PlayerHarness::PictureOnScreen() const {
    PictureRect p = player_->PictureArea();
    RECT r{p.x, p.y, p.x + p.width, p.y + p.height};
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void PlayerHarness::Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool PlayerHarness::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    return test::PumpUntil(
        [&] {
            DWORD now = GetTickCount();
            if (player_ && now - lastWatch_ >= 100) {
                lastWatch_ = now;
                player_->Watch(now);
            }
            return done();
        },
        timeoutMs);
}

void PlayerHarness::Open(const std::wstring& path) {
    const int opened = opened_, failed = failed_;
    player_->Load(path);
    if (!PumpUntil([&] { return opened_ > opened || failed_ > failed; }, 20000))
        throw Exception("no answer to the open");
    if (failed_ > failed) throw Exception(lastFailure_);
    player_->Run();
}

LRESULT PlayerHarness::HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            if (player_) {
                player_->PaintBackground(reinterpret_cast<HDC>(wParam));
                return 1;
            }
            break;
        case WM_SIZE:
            if (player_) player_->Resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_MOUSEMOVE:
            ++mouseMoves_;
            lastMouseMove_ = lParam;
            return 0;
        case WM_KEYDOWN:
            ++keyDowns_;
            return 0;
    }
    if (player_ && player_->HandleMessage(message, wParam, lParam)) return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace kv::test
