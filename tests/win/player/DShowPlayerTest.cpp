#include <windows.h>
#include <windowsx.h>

#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

#include "framework/Exception.h"
#include "tests/win/player/PlayerHarness.h"

namespace kv::test {
namespace {

constexpr double kFrame = 0.04;  // 25 frames a second
// An MPEG program stream stores no length: the demuxer estimates it from the clock references
// near the end of the file, which for these clips comes out up to a quarter second short.
constexpr double kEstimatedLength = 0.25;

struct Kind {
    const wchar_t* file;
    Colour colour;
    double lengthTolerance;
    EngineKind engine = EngineKind::DirectShow;
};

std::string PrintKind(const testing::TestParamInfo<Kind>& info) {
    std::string name;
    for (const wchar_t* p = info.param.file; *p; ++p)
        if (iswalnum(*p)) name += char(*p);
    return name;
}

class EveryClipKind : public testing::TestWithParam<Kind> {};

TEST_P(EveryClipKind, OpensPlaysByItselfShowsItsColourAndEndsOnce) {
    PlayerHarness h;
    MediaEngine& player = h.Engines();
    std::wstring path = Clip(GetParam().file);
    h.Open(path);
    ASSERT_EQ(h.Engines().Active(), GetParam().engine);
    EXPECT_TRUE(player.HasVideo());
    EXPECT_NEAR(player.Duration(), 3.0, GetParam().lengthTolerance);

    ASSERT_TRUE(h.PumpUntil([&] { return player.Position() > 0.5; }, 3000))
        << "position " << player.Position();
    Colour seen = DominantColour(h.PictureOnScreen());
    EXPECT_EQ(seen, GetParam().colour) << ColourName(seen);

    // Near the end, then the end arrives once.
    player.SetPosition(2.0);
    EXPECT_NEAR(player.Position(), 2.0, 0.25);
    EXPECT_TRUE(h.PumpUntil([&] { return h.Ends() > 0; }, 4000));
    h.Pump(1500);
    EXPECT_EQ(h.Ends(), 1);
}

INSTANTIATE_TEST_SUITE_P(Player, EveryClipKind,
                         // ASF counts its last audio packet (46 ms) into the length.
                         testing::Values(Kind{L"clip.mpg", Colour::Red, kEstimatedLength},
                                         Kind{L"clip.avi", Colour::Green, kFrame},
                                         Kind{L"clip.wmv", Colour::Blue, 0.05},
                                         Kind{L"clip.dat", Colour::Yellow, kEstimatedLength},
                                         // AAC's priming samples count into the length.
                                         Kind{L"clip.mp4", Colour::Magenta, 0.05, EngineKind::MediaFoundation},
                                         Kind{L"clip.mov", Colour::Cyan, 0.05, EngineKind::MediaFoundation}),
                         PrintKind);

TEST(Player, PlaysToTheNaturalEndAndReportsItOnce) {
    PlayerHarness h;
    h.Open(Clip(L"clip.mpg"));
    DWORD start = GetTickCount();
    EXPECT_TRUE(h.PumpUntil([&] { return h.Ends() > 0; }, 6000));
    DWORD took = GetTickCount() - start;
    EXPECT_GT(took, 2500u);
    h.Pump(1500);
    EXPECT_EQ(h.Ends(), 1);
    std::printf("natural end after %lu ms\n", took);
}

// The transport of both engines, on a ten-second clip of each.
class EitherEngine : public testing::TestWithParam<const wchar_t*> {};

TEST_P(EitherEngine, PauseKeepsThePositionAndPlayResumes) {
    PlayerHarness h;
    MediaEngine& player = h.Engines();
    h.Open(Clip(GetParam()));
    ASSERT_TRUE(h.PumpUntil([&] { return player.Position() > 0.3; }, 3000));
    player.Pause();
    h.Pump(100);  // a session pauses on its own thread
    double paused = player.Position();
    h.Pump(600);
    EXPECT_NEAR(player.Position(), paused, 0.01);
    player.Run();
    EXPECT_TRUE(h.PumpUntil([&] { return player.Position() > paused + 0.3; }, 3000));
}

TEST_P(EitherEngine, SeeksForwardAndRewindsWhilePlayingAndPaused) {
    PlayerHarness h;
    MediaEngine& player = h.Engines();
    h.Open(Clip(GetParam()));
    ASSERT_TRUE(h.PumpUntil([&] { return player.Position() > 0.1; }, 3000));
    player.SetPosition(7.0);
    EXPECT_NEAR(player.Position(), 7.0, 0.2);
    EXPECT_TRUE(h.PumpUntil([&] { return player.Position() > 7.2; }, 3000));
    player.SetPosition(0);
    EXPECT_LT(player.Position(), 0.2);
    player.Pause();
    player.SetPosition(4.5);
    h.Pump(300);
    EXPECT_NEAR(player.Position(), 4.5, 0.01);
    EXPECT_EQ(h.Ends(), 0);
    // Stopped, it stays where it was put, and plays on from there.
    player.Stop();
    player.SetPosition(3.0);
    h.Pump(300);
    EXPECT_NEAR(player.Position(), 3.0, 0.01);
    player.Run();
    EXPECT_TRUE(h.PumpUntil([&] { return player.Position() > 3.2; }, 3000));
    EXPECT_LT(player.Position(), 4.5);
}

INSTANTIATE_TEST_SUITE_P(Player, EitherEngine, testing::Values(L"ten.mpg", L"ten.mp4"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                             return std::string(wcsstr(info.param, L".mp4") ? "MediaFoundation" : "DirectShow");
                         });

TEST(Player, TheLongClipKnowsItsLength) {
    PlayerHarness h;
    h.Open(Clip(L"long.mpg"));
    EXPECT_NEAR(h.Player().Duration(), 100.0, 0.5);
    h.Open(Clip(L"ten.mpg"));
    EXPECT_NEAR(h.Player().Duration(), 10.0, kEstimatedLength);
}

TEST(Player, PlaysAFileWhoseNameIsNotAscii) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + L"\u0e20\u0e32\u0e1e\u0e22\u0e19\u0e15\u0e23\u0e4c.mpg";
    ASSERT_TRUE(CopyFileW(Clip(L"clip.mpg").c_str(), path.c_str(), FALSE));
    {
        PlayerHarness h;
        h.Open(path);
        EXPECT_TRUE(h.PumpUntil([&] { return h.Player().Position() > 0.2; }, 3000));
    }
    DeleteFileW(path.c_str());
}

TEST(Player, MuteSetBeforeTheNextOpenAppliesToIt) {
    PlayerHarness h;
    DShowPlayer& player = h.Player();
    player.SetMute(true);  // nothing open: only remembered
    EXPECT_TRUE(player.Mute());
    h.Open(Clip(L"clip.mpg"));
    EXPECT_TRUE(player.Mute());
    player.SetMute(false);
    player.SetMute(true);
    h.Open(Clip(L"clip.avi"));
    EXPECT_TRUE(player.Mute());
    std::printf("graph has audio: %s\n", player.HasAudio() ? "yes" : "no");
}

TEST(Player, FilesThatAreNotVideoFailWithADescriptionWithoutHanging) {
    PlayerHarness h;
    DShowPlayer& player = h.Player();
    for (const wchar_t* name : {L"junk.avi", L"empty.avi", L"notvideo.mpg", L"no such file.mpg", L""}) {
        DWORD start = GetTickCount();
        std::string message;
        try {
            h.Open(Clip(name));
        } catch (const Exception& e) {
            message = e.Message();
        }
        DWORD took = GetTickCount() - start;
        std::printf("%ls: %lu ms: %s\n", name, took, message.c_str());
        EXPECT_FALSE(message.empty()) << name;
        EXPECT_EQ(message.find("0x"), std::string::npos) << "a description, not a code: " << message;
        EXPECT_FALSE(player.IsOpen()) << name;
        EXPECT_LT(took, GraphSlot::kPrerollTimeoutMs + 1000) << name;
        EXPECT_EQ(player.Position(), 0);
    }
    // The player is still good for the next file.
    h.Open(Clip(L"clip.mpg"));
    EXPECT_TRUE(h.PumpUntil([&] { return player.Position() > 0.2; }, 3000));
}

// Cut off inside its first picture, the clip reports no length: it plays until the graph ends it.
TEST(Player, AClipWithoutALengthPlaysUntilItsEndOfStream) {
    PlayerHarness h;
    h.Open(Clip(L"truncated.mpg"));
    EXPECT_EQ(h.Player().Duration(), 0);
    EXPECT_TRUE(h.PumpUntil([&] { return h.Ends() > 0; }, 6000));
    h.Pump(700);
    EXPECT_EQ(h.Ends(), 1);
}

TEST(Player, NothingOpenIsHarmless) {
    PlayerHarness h;
    DShowPlayer& player = h.Player();
    EXPECT_FALSE(player.IsOpen());
    player.Stop();
    player.Pause();
    player.Run();
    player.SetPosition(5);
    EXPECT_EQ(player.Position(), 0);
    EXPECT_EQ(player.Duration(), 0);
    EXPECT_TRUE(player.HandleMessage(DShowPlayer::kGraphEventMessage, 0, 0));
    player.Watch(GetTickCount());
    EXPECT_EQ(h.Ends(), 0);
}

TEST(Player, AWideClipIsLetterboxedInAFourByThreeControl) {
    PlayerHarness h(400, 300);
    h.Open(Clip(L"wide.mpg"));
    ASSERT_TRUE(h.PumpUntil([&] { return h.VideoChild() != nullptr; }, 3000));
    PictureRect expected{0, 37, 400, 225};
    EXPECT_EQ(h.Player().PictureArea(), expected);
    HWND video = h.VideoChild();
    ASSERT_TRUE(video);
    RECT r;
    GetWindowRect(video, &r);
    MapWindowPoints(nullptr, h.Window(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 37);
    EXPECT_EQ(r.right, 400);
    EXPECT_EQ(r.bottom, 262);
    // The bars are black, the picture red.
    RECT top{0, 0, 400, 30};
    MapWindowPoints(h.Window(), nullptr, reinterpret_cast<POINT*>(&top), 2);
    EXPECT_TRUE(h.PumpUntil([&] { return DominantColour(h.PictureOnScreen()) == Colour::Red; }, 3000));
    EXPECT_EQ(DominantColour(top), Colour::Black);

    // A new size of the control keeps the shape.
    SetWindowPos(h.Window(), nullptr, 0, 0, 300, 400, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(h.Window(), &client);
    PictureRect fitted = h.Player().PictureArea();
    EXPECT_EQ(fitted.width, client.right);
    EXPECT_NEAR(fitted.height, client.right * 9 / 16, 1);
}

TEST(Player, MouseAndKeysOverThePictureReachTheControlWindow) {
    PlayerHarness h(400, 300);  // letterboxed: the picture starts 37 pixels down
    h.Open(Clip(L"wide.mpg"));
    ASSERT_TRUE(h.PumpUntil([&] { return h.VideoChild() != nullptr; }, 3000));
    HWND video = h.VideoChild();
    RECT r;
    GetWindowRect(video, &r);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ASSERT_EQ(WindowFromPoint(centre), video);

    SetCursorPos(centre.x - 20, centre.y - 20);
    h.Pump(100);
    int before = h.MouseMoves();
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = 7;
    move.mi.dy = 5;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    ASSERT_EQ(SendInput(1, &move, sizeof(move)), 1u);
    EXPECT_TRUE(h.PumpUntil([&] { return h.MouseMoves() > before; }, 2000));
    h.Pump(200);  // every move has arrived
    // The drained message keeps the coordinates of the window it was meant for: the picture's,
    // not the control's.
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(h.Window(), &cursor);
    EXPECT_EQ(GET_X_LPARAM(h.LastMouseMove()), cursor.x);
    EXPECT_EQ(GET_Y_LPARAM(h.LastMouseMove()), cursor.y - h.Player().PictureArea().y);

    int keys = h.KeyDowns();
    PostMessageW(video, WM_KEYDOWN, VK_NUMPAD5, 0);
    EXPECT_TRUE(h.PumpUntil([&] { return h.KeyDowns() > keys; }, 1000));
}

TEST(Player, ReopeningAndDestroyingWhilePlayingLeaveNoGraphBehind) {
    for (int i = 0; i < 3; ++i) {
        PlayerHarness h;
        h.Open(Clip(L"clip.mpg"));
        h.Pump(150);
        h.Open(Clip(L"clip.wmv"));
        h.Pump(150);
        h.Player().Close();
        EXPECT_FALSE(h.Player().IsOpen());
        EXPECT_FALSE(h.VideoChild());
        h.Open(Clip(L"clip.avi"));
        h.Pump(150);
    }
}

// The controller's change at the end of a file: Stop, then the open of the prepared file.
void ChangeTo(PlayerHarness& h, const std::wstring& path) {
    h.Player().Stop();
    h.Open(path);
}

TEST(Player, APreparedFileFollowsWithTheLastPictureStandingInAndNothingBlack) {
    PlayerHarness h;
    DShowPlayer& player = h.Player();
    h.Open(Clip(L"clip.mpg"));
    player.Prepare(Clip(L"clip.avi"));
    ASSERT_TRUE(h.PumpUntil([&] { return h.Ends() > 0; }, 6000));
    ASSERT_EQ(DominantColour(h.PictureOnScreen()), Colour::Red);
    DWORD start = GetTickCount();
    ChangeTo(h, Clip(L"clip.avi"));
    DWORD took = GetTickCount() - start;
    std::printf("prepared change: %lu ms\n", took);
    EXPECT_LT(took, 80u);
    // Until the new file has begun, the old picture stays; then the new one shows.
    EXPECT_TRUE(player.ShowingLastPicture());
    ASSERT_TRUE(h.PumpUntil([&] { return player.Position() >= 0.1; }, 1000));
    EXPECT_EQ(DominantColour(h.PictureOnScreen()), Colour::Red);
    player.RevealSurface();
    EXPECT_FALSE(player.ShowingLastPicture());
    // Wine shows what a window drew at its next flush, within two frames.
    EXPECT_TRUE(h.PumpUntil([&] { return DominantColour(h.PictureOnScreen()) == Colour::Green; }, 80));
}

TEST(Player, TheFileThatEndedStartsAgainInItsOwnGraph) {
    PlayerHarness h;
    DShowPlayer& player = h.Player();
    h.Open(Clip(L"clip.wmv"));
    ASSERT_TRUE(h.PumpUntil([&] { return h.Ends() > 0; }, 6000));
    DWORD start = GetTickCount();
    ChangeTo(h, Clip(L"clip.wmv"));
    EXPECT_LT(GetTickCount() - start, 80u);
    EXPECT_TRUE(h.PumpUntil([&] { return player.Position() > 0.3; }, 2000));
    EXPECT_EQ(DominantColour(h.PictureOnScreen()), Colour::Blue);
    EXPECT_TRUE(h.PumpUntil([&] { return h.Ends() > 1; }, 6000)) << "it ends again";
}

}  // namespace
}  // namespace kv::test
