// The threads the player starts: each file is built on one, which the player owns and joins,
// and a load that never ends holds up neither the next file nor the end of the process for
// longer than a bound.
#include <windows.h>
#include <tlhelp32.h>

#include <mutex>
#include <vector>

#include <gtest/gtest.h>

#include "framework/OwnedThread.h"
#include "tests/win/player/PlayerHarness.h"

namespace kv::test {
namespace {

int ThreadCount() {
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    return count;
}

// Notes each load's thread; a load of the file named hangs holds until release is set.
class LoaderThreads {
public:
    explicit LoaderThreads(std::wstring hangs = {}) : hangs_(std::move(hangs)) {}
    GraphSlot::LoadHook Hook() {
        return [this](const std::wstring& path) {
            HANDLE self = nullptr;
            DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, SYNCHRONIZE, FALSE, 0);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                threads_.emplace_back(self);
            }
            if (path == hangs_) WaitForSingleObject(release_.Get(), INFINITE);
        };
    }
    int Count() {
        std::lock_guard<std::mutex> lock(mutex_);
        return int(threads_.size());
    }
    bool AllEnded() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const ScopedHandle& t : threads_)
            if (WaitForSingleObject(t.Get(), 0) != WAIT_OBJECT_0) return false;
        return true;
    }
    void Release() { SetEvent(release_.Get()); }

private:
    std::wstring hangs_;
    ScopedHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::mutex mutex_;
    std::vector<ScopedHandle> threads_;
};

TEST(PlayerThreads, DestroyingThePlayerDuringALoadOrAPreparationEndsItsThreadAtOnce) {
    for (bool preparing : {false, true}) {
        SCOPED_TRACE(preparing ? "during a preparation" : "during a load");
        LoaderThreads loaders;
        PlayerHarness h(320, 240, {.loadHook = loaders.Hook()});
        if (preparing) {
            h.Open(Clip(L"clip.mpg"));
            h.Player().Prepare(Clip(L"clip.avi"));
        } else {
            h.Player().Load(Clip(L"clip.avi"));
        }
        const int loads = preparing ? 2 : 1;
        ASSERT_TRUE(h.PumpUntil([&] { return loaders.Count() == loads; }, 2000));
        h.Pump(30);  // inside GStreamer by now
        const DWORD start = GetTickCount();
        h.DestroyPlayer();
        const DWORD took = GetTickCount() - start;
        std::printf("destroyed %lu ms after asking\n", took);
        EXPECT_LT(took, OwnedThread::kJoinBoundMs);
        EXPECT_TRUE(loaders.AllEnded());
    }
}

TEST(PlayerThreads, ALoadThatNeverReturnsIsGivenUpAndTheNextFilePlaysInANewGraph) {
    LoaderThreads loaders(Clip(L"clip.wmv"));
    PlayerHarness h(320, 240, {.loadTimeoutMs = 1000, .loadHook = loaders.Hook()});
    DShowPlayer& player = h.Player();
    h.Engines().Load(Clip(L"clip.wmv"));
    ASSERT_TRUE(h.PumpUntil([&] { return h.Failed() > 0; }, 4000)) << "the load was never given up";
    std::printf("given up: %s\n", h.LastFailure().c_str());
    EXPECT_EQ(h.Opened(), 0);

    h.Open(Clip(L"clip.avi"));
    ASSERT_TRUE(h.PumpUntil([&] { return player.Position() > 0.3; }, 3000));
    EXPECT_EQ(DominantColour(h.PictureOnScreen()), Colour::Green);

    // When it does return, its graph goes here, on the thread that made it.
    loaders.Release();
    EXPECT_TRUE(h.PumpUntil([&] { return loaders.AllEnded(); }, 5000));
    EXPECT_EQ(h.Failed(), 1);
}

// GStreamer can be stuck for good: the player's end, and the process's, waits only a bound.
TEST(PlayerThreads, DestroyingThePlayerDuringALoadThatNeverReturnsWaitsOnlyItsBound) {
    LoaderThreads loaders(Clip(L"clip.wmv"));
    PlayerHarness h(320, 240, {.loadHook = loaders.Hook()});
    h.Player().Load(Clip(L"clip.wmv"));
    ASSERT_TRUE(h.PumpUntil([&] { return loaders.Count() == 1; }, 2000));
    const DWORD start = GetTickCount();
    h.DestroyPlayer();
    EXPECT_NEAR(double(GetTickCount() - start), OwnedThread::kJoinBoundMs, 500);
    loaders.Release();
    EXPECT_TRUE(h.PumpUntil([&] { return loaders.AllEnded(); }, 5000));
}

// Every new sound renderer costs Wine's DirectSound a thread for good. The first laps make the
// renderers the formats need (one clip has stereo sound, the others mono); later laps add none.
// Media Foundation's sessions, one per file, retire with their threads. Muted (DirectShow's
// renderers stay, silent): Wine's Media Foundation sound renderer leaves a thread behind.
TEST(PlayerThreads, ChangingFilesAddsNoThreadsAfterTheFirstLaps) {
    PlayerHarness h;
    h.Engines().SetMute(true);
    const wchar_t* files[] = {L"clip.mpg", L"clip.avi", L"clip.mp4", L"clip.wmv", L"clip.dat", L"clip.mov"};
    auto laps = [&] {
        for (int i = 0; i < 12; ++i) {
            h.Engines().Prepare(Clip(files[i % 6]));
            h.Pump(100);
            h.Engines().Stop();
            h.Open(Clip(files[i % 6]));
            h.Pump(100);
        }
        h.Pump(300);
    };
    laps();
    int before = ThreadCount();
    laps();
    // A retired session's threads end a moment after its Close.
    EXPECT_TRUE(h.PumpUntil([&] { return ThreadCount() <= before + 1; }, 3000))
        << ThreadCount() << " threads, " << before << " after the first laps";
}

}  // namespace
}  // namespace kv::test
