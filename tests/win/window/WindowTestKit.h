#pragma once
// What the main-window playback tests share besides the Windows test kit: the settings files
// written for a test, a main window that records what its handlers saw, a guard against hangs
// and processor-time meters.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Scoped.h"
#include "saver/window/FormMain.h"
#include "tests/win/support/Clips.h"
#include "tests/win/support/WinTestKit.h"

namespace kv::test {

// The values a test puts into g_screen.ini; unset ones are left out of the file.
struct SettingsValues {
    std::optional<bool> muteWave = std::nullopt;
    std::optional<bool> continuePlay = std::nullopt;
    std::optional<int> filePosition = std::nullopt;
    std::optional<double> currentPosition = std::nullopt;
    std::optional<std::wstring> fileName = std::nullopt;
    std::optional<int> language = std::nullopt;
};
void WriteSettings(const SettingsValues& values);
void WritePlaylist(const std::vector<std::wstring>& paths);

// The main window with recorders around its handlers, set before its creation handler runs.
class ObservedFormMain : public TFormMain {
public:
    explicit ObservedFormMain(Component* owner);

    struct Tick {
        DWORD atMs;             // GetTickCount after the tick
        double positionBefore;  // the player's position just before the handler ran
        double positionAfter;
        bool visible;           // the player's visibility the tick left
    };
    std::vector<std::wstring> filesAfterEnd;  // Mp1->FileName() after each end of a file
    std::vector<Tick> ticks;
    std::vector<bool> muteClicks;  // MuteWave's state at each run of its click handler
};

// Ends the process when a test takes longer than timeoutMs: a player that hangs in a file's
// teardown would otherwise hold the whole suite until the runner gives up on it.
class HangGuard {
public:
    explicit HangGuard(DWORD timeoutMs);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

private:
    static DWORD WINAPI Run(void* self);
    DWORD timeoutMs_;
    std::string test_;
    ScopedHandle done_;
    ScopedHandle thread_;
};

// Processor time of the process (all threads) and of the calling thread, and the wall clock.
class CpuMeter {
public:
    CpuMeter();
    double ProcessMs() const;
    double ThreadMs() const;
    double WallMs() const;

private:
    static double ProcessNow();
    static double ThreadNow();
    double process0_, thread0_;
    LARGE_INTEGER wall0_{}, frequency_{};
};

// The application and clean settings for each test; the window made by Make goes at the end.
class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Runs the creation sequence with the command line {"KINOVELA.SCR", arguments...}.
    ObservedFormMain& Make(const std::vector<std::string>& arguments);
    // Settings and playlist files for the next Make.
    void Prepare(const std::vector<std::wstring>& playlist, const std::optional<SettingsValues>& settings = {});
    // Pumps until no open or resume wait is under way; false when one still is after timeoutMs.
    static bool Settle(ObservedFormMain& form, DWORD timeoutMs = 10000);

    std::unique_ptr<HangGuard> hangGuard_;
    std::unique_ptr<SystemFileKeeper> files_;
    std::unique_ptr<BoxAnswerer> dialogs_;
    ObservedFormMain* form_ = nullptr;
};

}  // namespace kv::test
