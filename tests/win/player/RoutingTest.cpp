#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win/player/PlayerHarness.h"

namespace kv::test {
namespace {

// Media Foundation as it may be on a user's machine: it cannot open the file, or it opens it
// and then will not seek in it.
class RefusingEngine : public MediaEngine {
public:
    enum class Refuses { Open, Seek };
    static constexpr UINT kAnswer = WM_APP + 40;
    RefusingEngine(HWND window, MediaEngineEvents& events, Refuses refuses)
        : window_(window), events_(events), refuses_(refuses) {}

    void Load(const std::wstring&) override { PostMessageW(window_, kAnswer, 0, 0); }
    bool HandleMessage(UINT message, WPARAM, LPARAM) override {
        if (message != kAnswer) return false;
        if (refuses_ == Refuses::Open)
            events_.EngineFailed("refused");
        else
            events_.EngineOpened();
        return true;
    }
    void SetPosition(double seconds) override { events_.EngineCannotSeek(seconds); }
    double Position() const override { return 0.5; }
    double Duration() const override { return 10; }
    void Prepare(const std::wstring&) override {}
    void Close() override {}
    void Run() override {}
    void Pause() override {}
    void Stop() override {}
    void SetMute(bool) override {}
    void Watch(unsigned long) override {}
    void Resize(int, int) override {}
    void PaintBackground(HDC) const override {}
    void RefreshPicture() override {}
    PictureRect PictureArea() const override { return {}; }
    bool HasVideo() const override { return true; }
    bool ShowingLastPicture() const override { return false; }
    void RevealSurface() override {}

private:
    HWND window_;
    MediaEngineEvents& events_;
    Refuses refuses_;
};

EngineFactory Refusing(RefusingEngine::Refuses refuses) {
    return [refuses](HWND window, MediaEngineEvents& events) {
        return std::make_unique<RefusingEngine>(window, events, refuses);
    };
}

TEST(Routing, AnMP4ThatMediaFoundationCannotOpenPlaysThroughDirectShow) {
    PlayerHarness h(320, 240, {}, Refusing(RefusingEngine::Refuses::Open));
    h.Open(Clip(L"clip.mp4"));
    EXPECT_EQ(h.Engines().Active(), EngineKind::DirectShow);
    ASSERT_TRUE(h.PumpUntil([&] { return h.Engines().Position() > 0.3; }, 3000));
    EXPECT_EQ(DominantColour(h.PictureOnScreen()), Colour::Magenta);
    EXPECT_EQ(h.Failed(), 0);
}

// The caller sees one open file throughout: no second open, no failure, the place it asked for.
TEST(Routing, AnMP4ThatMediaFoundationWillNotSeekGoesOnThroughDirectShowAtThatPlace) {
    PlayerHarness h(320, 240, {}, Refusing(RefusingEngine::Refuses::Seek));
    h.Open(Clip(L"ten.mp4"));
    ASSERT_EQ(h.Engines().Active(), EngineKind::MediaFoundation);
    h.Engines().SetPosition(6.0);
    EXPECT_EQ(h.Engines().Position(), 6.0);
    ASSERT_TRUE(h.PumpUntil([&] { return h.Engines().Active() == EngineKind::DirectShow && h.Engines().Position() > 6.2; },
                            5000))
        << "position " << h.Engines().Position();
    EXPECT_LT(h.Engines().Position(), 7.5);
    EXPECT_EQ(DominantColour(h.PictureOnScreen()), Colour::Magenta);
    EXPECT_EQ(h.Opened(), 1);
    EXPECT_EQ(h.Failed(), 0);
}

// A playlist of one MP4: at its end the same file opens again and plays from its start.
TEST(MediaFoundation, AFileThatHasEndedPlaysAgainFromItsStartWhenOpenedAgain) {
    PlayerHarness h;
    h.Open(Clip(L"clip.mp4"));
    ASSERT_TRUE(h.PumpUntil([&] { return h.Ends() == 1; }, 6000));
    h.Open(Clip(L"clip.mp4"));
    EXPECT_EQ(h.Opened(), 2);
    EXPECT_LT(h.Engines().Position(), 1.0);
    EXPECT_TRUE(h.PumpUntil([&] { return h.Engines().Position() > 1.0; }, 3000));
    EXPECT_EQ(DominantColour(h.PictureOnScreen()), Colour::Magenta);
}

}  // namespace
}  // namespace kv::test
