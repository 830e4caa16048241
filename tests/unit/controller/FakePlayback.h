#pragma once
// A player and a main window for the controller's tests. Both write what they do into one
// log, so a test sees the order across them. The player keeps its state in the control's own
// state machine and answers an open only when the test says so (Answer, Settle), the way the
// real one answers from the message loop; the view's resume timer runs out the same way.
#include "saver/player/PlayerStateMachine.h"
#include "saver/window/PlaybackController.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::test {

using Log = std::vector<std::string>;

inline std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// It starts with a file that plays, placed by the test through position and duration.
class FakePlayer : public PlaybackPlayer {
public:
    explicit FakePlayer(Log& log) : log_(log) {
        machine_.Open();
        machine_.Opened();
    }

    std::map<std::wstring, double> durations;  // per file; 60 s when not given
    std::set<std::wstring> broken;             // opening these fails
    bool failing = false;                      // every call throws
    std::optional<std::wstring> opening;       // the file being opened, until answered
    std::wstring openFile;                     // the file opened last
    double position = 0;
    double duration = 0;
    bool visible = false;
    int opens = 0;
    // Kept apart from the log: a preparation changes nothing the user sees.
    std::vector<std::wstring> prepared;

    PlayerState State() const { return machine_.State(); }

    void Open(const std::wstring& path) override {
        Fail();
        ++opens;
        log_.push_back("Open " + Narrow(path));
        machine_.Open();
        opening = path;
    }
    // Ends the open under way; true when the file opened.
    bool Answer() {
        std::wstring path = *opening;
        opening.reset();
        if (broken.count(path)) {
            machine_.Close();
            openFile.clear();
            position = duration = 0;
            return false;
        }
        openFile = path;
        auto known = durations.find(path);
        duration = known == durations.end() ? 60 : known->second;
        position = machine_.Opened().seek.value_or(0);
        return true;
    }
    void Stop() override {
        Fail();
        log_.push_back("Stop");
        machine_.Stop();
    }
    void Pause() override {
        Fail();
        log_.push_back("Pause");
        machine_.Pause();
    }
    double CurrentPosition() override {
        Fail();
        if (machine_.Opening()) return machine_.StartPosition();
        return position;
    }
    void SetCurrentPosition(double seconds) override {
        Fail();
        log_.push_back("Position " + std::to_string(static_cast<int>(seconds)));
        if (auto seek = machine_.Seek(seconds).seek) position = *seek;
    }
    double Duration() override {
        Fail();
        return machine_.Opening() ? 0 : duration;
    }
    // Like the real player, a preparation asked for while a file opens is not taken.
    void Prepare(const std::wstring& path) override {
        if (!machine_.Opening()) prepared.push_back(path);
    }
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
    PlayerStateMachine machine_;
};

class FakeView : public PlaybackView {
public:
    explicit FakeView(Log& log) : log_(log) {}

    std::vector<std::wstring> playlist;
    std::set<std::wstring> missing;
    bool configuration = false;
    bool resumeWaitRuns = false;
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
    void AttachPlayerToPreview() override { log_.push_back("Attach"); }
    void StartResumeWait() override {
        log_.push_back("ResumeWait");
        resumeWaitRuns = true;
    }
    void CancelResumeWait() override { resumeWaitRuns = false; }
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

    // The player's answer to the open under way reaches the controller; false when none waits.
    bool Answer() {
        if (!player.opening) return false;
        std::string name = Narrow(*player.opening);
        if (player.Answer())
            controller.FileOpened();
        else
            controller.FileFailed("cannot play " + name);
        return true;
    }
    // Play's half second runs out.
    bool EndResumeWait() {
        if (!view.resumeWaitRuns) return false;
        view.resumeWaitRuns = false;
        controller.ResumeWaitOver();
        return true;
    }
    // What the message loop would do next until nothing is left: answers, then the timer.
    void Settle() {
        for (int step = 0; step < 100; ++step)
            if (!Answer() && !EndResumeWait()) return;
        ADD_FAILURE() << "the controller never settles";
    }

    // The file names opened, in order.
    std::vector<std::string> Opens() const {
        std::vector<std::string> opens;
        for (const std::string& entry : log)
            if (entry.rfind("Open ", 0) == 0) opens.push_back(entry.substr(entry.rfind('\\') + 1));
        return opens;
    }
};

}  // namespace kv::test
