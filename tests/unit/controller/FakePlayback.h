#pragma once
// A player and a main window for the controller's tests. Both write what they do into one
// log, so a test sees the order across them; the window's message pumps run a test's
// callback once, the way real dispatching runs other handlers in the middle of an operation.
#include "saver/window/PlaybackController.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::test {

using Log = std::vector<std::string>;

inline std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

inline void RunOnce(std::function<void()>& callback) {
    auto run = std::move(callback);
    callback = nullptr;
    if (run) run();
}

class FakePlayer : public PlaybackPlayer {
public:
    explicit FakePlayer(Log& log) : log_(log) {}

    std::map<std::wstring, double> durations;  // per file; 60 s when not given
    std::set<std::wstring> broken;             // Open throws for these
    bool failing = false;                      // every call throws
    std::function<void()> onOpen;              // runs once inside the next Open
    std::function<void()> onSetPosition;       // runs once inside the next SetCurrentPosition
    std::wstring openFile;
    double position = 0;
    double duration = 0;
    bool visible = false;
    int opens = 0;

    void Open(const std::wstring& path) override {
        Fail();
        ++opens;
        log_.push_back("Open " + Narrow(path));
        opening_ = true;
        RunOnce(onOpen);
        opening_ = false;
        if (broken.count(path)) throw std::runtime_error("cannot play " + Narrow(path));
        openFile = path;
        position = 0;
        auto known = durations.find(path);
        duration = known == durations.end() ? 60 : known->second;
    }
    void Stop() override {
        Fail();
        log_.push_back("Stop");
    }
    void Pause() override {
        Fail();
        log_.push_back("Pause");
    }
    double CurrentPosition() override {
        Fail();
        return position;
    }
    void SetCurrentPosition(double seconds) override {
        Fail();
        log_.push_back("Position " + std::to_string(static_cast<int>(seconds)));
        RunOnce(onSetPosition);
        position = seconds;
    }
    double Duration() override {
        Fail();
        return duration;
    }
    // Kept apart from the log: a preparation changes nothing the user sees.
    std::vector<std::wstring> prepared;
    // Like the real player, a preparation asked for while a file opens is not taken.
    void Prepare(const std::wstring& path) override {
        if (!opening_) prepared.push_back(path);
    }
    bool Opening() override { return opening_; }
    void SetVisible(bool show) override {
        Fail();
        log_.push_back(show ? "Show" : "Hide");
        visible = show;
    }

private:
    void Fail() const {
        if (failing) throw std::runtime_error("player failed");
    }
    Log& log_;
    bool opening_ = false;
};

class FakeView : public PlaybackView {
public:
    explicit FakeView(Log& log) : log_(log) {}

    std::vector<std::wstring> playlist;
    std::set<std::wstring> missing;
    bool configuration = false;
    std::function<void()> duringWait;      // runs once inside the next WaitPumpingMessages
    std::function<void()> duringMessages;  // runs once inside the next message processing
    int progressMax = 100;
    int progressPosition = 0;
    int progressWidth = 390;
    int existenceChecks = 0;

    int PlaylistCount() override { return static_cast<int>(playlist.size()); }
    // Play swallows every failure, so a read outside the list must fail the test by itself.
    std::wstring PlaylistPath(int index) override {
        if (index < 0 || index >= PlaylistCount()) {
            ADD_FAILURE() << "playlist entry " << index << " read outside the list";
            return L"";
        }
        return playlist[index];
    }
    bool FileExists(const std::wstring& path) override {
        ++existenceChecks;
        return !missing.count(path);
    }
    bool ConfigurationMode() override { return configuration; }
    void ShowPauseImage(bool pauseImage) override {
        log_.push_back(pauseImage ? "PauseImage" : "PlayImage");
    }
    void AttachPlayerToPreview() override {
        log_.push_back("Attach");
        RunOnce(duringMessages);
    }
    void WaitPumpingMessages(unsigned ms) override {
        log_.push_back("Wait " + std::to_string(ms));
        RunOnce(duringWait);
    }
    void ProcessMessages() override {
        log_.push_back("Messages");
        RunOnce(duringMessages);
    }
    void RepaintWindow() override { log_.push_back("Repaint"); }
    int ProgressMax() override { return progressMax; }
    // Like the progress bar control, a new range pulls the position into it.
    void SetProgressMax(int max) override {
        progressMax = max;
        SetProgressPosition(progressPosition);
    }
    int ProgressPosition() override { return progressPosition; }
    void SetProgressPosition(int position) override {
        progressPosition = position < 0 ? 0 : position > progressMax ? progressMax : position;
    }
    int ProgressWidth() override { return progressWidth; }

private:
    Log& log_;
};

// A controller wired to the fakes, with a playlist of three clips that all exist.
struct PlaybackRig {
    Log log;
    FakePlayer player{log};
    FakeView view{log};
    PlaybackController controller{player, view};

    PlaybackRig() { view.playlist = {kOne, kTwo, kThree}; }

    static constexpr const wchar_t* kOne = L"C:\\clips\\one.avi";
    static constexpr const wchar_t* kTwo = L"C:\\clips\\two.mpg";
    static constexpr const wchar_t* kThree = L"C:\\clips\\three.wmv";

    // The file names opened, in order.
    std::vector<std::string> Opens() const {
        std::vector<std::string> opens;
        for (const std::string& entry : log)
            if (entry.rfind("Open ", 0) == 0) opens.push_back(entry.substr(entry.rfind('\\') + 1));
        return opens;
    }
};

}  // namespace kv::test
