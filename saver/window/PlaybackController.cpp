#include "saver/window/PlaybackController.h"

#include "saver/window/PlaybackRules.h"

namespace kv {

PlaybackController::PlaybackController(PlaybackPlayer& player, PlaybackView& view)
    : player_(player), view_(view) {}

// Lets failures out only where an error report can be seen and answered.
template <class Operation>
void PlaybackController::Guarded(Operation operation) {
    if (view_.ConfigurationMode()) {
        operation();
        return;
    }
    try {
        operation();
    } catch (...) {
    }
}

// Opens path. Outside configuration mode a file that cannot be played gives false, and the
// caller skips it like a missing one; in configuration mode the failure goes up.
bool PlaybackController::TryOpen(const std::wstring& path) {
    nextPrepared_ = false;
    entryInPlay_ = path;
    try {
        player_.Open(path);
        return true;
    } catch (...) {
        entryInPlay_.clear();
        if (view_.ConfigurationMode()) throw;
        return false;
    }
}

// Names the entry the advance will open when this file ends, so that it follows at once.
void PlaybackController::PrepareNext() {
    if (nextPrepared_) return;
    nextPrepared_ = true;
    auto next = FirstUsableAfter(State.CurrentIndex, view_.PlaylistCount(),
                                 [this](int32_t i) { return view_.FileExists(view_.PlaylistPath(i)); });
    if (next) player_.Prepare(view_.PlaylistPath(*next));
}

void PlaybackController::PlayClick() {
    if (player_.Opening() || inStartWait_) return;  // input waits until the file is open
    if (State.IsPlaying) {
        Guarded([this] { Pause(); });
        return;
    }
    try {
        StartCurrentEntry();
    } catch (...) {
    }
}

void PlaybackController::Pause() {
    player_.Pause();
    State.IsPlaying = false;
    State.SavedPosition = player_.CurrentPosition();
    view_.ShowPauseImage(false);
}

void PlaybackController::StartCurrentEntry() {
    view_.ShowPauseImage(true);
    if (view_.PlaylistCount() <= 0) return;
    player_.SetVisible(false);
    player_.Stop();
    entryInPlay_.clear();
    positionToApply_.reset();
    bool configuration = view_.ConfigurationMode();
    if (configuration) view_.AttachPlayerToPreview();
    // Messages ran in between: entries may have been removed or the index moved.
    if (!IndexInPlaylist(State.CurrentIndex, view_.PlaylistCount())) return;
    std::wstring path = view_.PlaylistPath(State.CurrentIndex);
    if (!view_.FileExists(path)) {
        Advance();
        return;
    }
    // A full-screen run resumes only the remembered file; anything else starts at the first.
    if (!configuration && path != State.SavedFileName) {
        State.CurrentIndex = -1;
        Advance();
        return;
    }
    if (!TryOpen(path)) {
        Advance();
        return;
    }
    player_.SetVisible(true);
    // A close during the wait must still remember the position this run was to resume at.
    positionToApply_ = State.SavedPosition;
    const unsigned stopsBefore = stops_;
    inStartWait_ = true;
    view_.WaitPumpingMessages(kResumeWaitMs);
    inStartWait_ = false;
    // A Stop clicked during the wait has rewound and hidden the file: it stays stopped.
    if (stops_ != stopsBefore) return;
    player_.SetCurrentPosition(State.SavedPosition);
    positionToApply_.reset();
    State.IsPlaying = true;
}

void PlaybackController::StopClick() {
    if (player_.Opening()) return;
    ++stops_;
    Guarded([this] {
        State.IsPlaying = false;
        entryInPlay_.clear();
        positionToApply_.reset();
        player_.SetCurrentPosition(0);
        player_.Pause();
        player_.SetVisible(false);
        view_.ProcessMessages();
        view_.RepaintWindow();
    });
}

void PlaybackController::EndOfStream() {
    Guarded([this] { Advance(); });
}

// Skips forward over entries that are missing or cannot be opened, wrapping after the last,
// for at most one lap: an entry that is gone must not keep the ones after it from their turn,
// and a playlist where nothing plays costs one try per entry.
void PlaybackController::Advance() {
    int32_t count = view_.PlaylistCount();
    if (count <= 0) return;
    player_.Stop();
    auto opened = FirstUsableAfter(State.CurrentIndex, count, [this](int32_t i) {
        State.CurrentIndex = i;
        return OpenEntry(i);
    });
    if (!opened) entryInPlay_.clear();
}

// True when the entry's file exists and opened.
bool PlaybackController::OpenEntry(int32_t index) {
    std::wstring path = view_.PlaylistPath(index);
    if (!view_.FileExists(path)) return false;
    player_.Stop();
    if (!TryOpen(path)) return false;
    view_.SetProgressMax(RoundHalfEven(player_.Duration()));
    return true;
}

std::optional<ResumeRecord> PlaybackController::ResumeRecordAtClose() {
    if (entryInPlay_.empty()) return std::nullopt;
    double position = positionToApply_ ? *positionToApply_ : player_.CurrentPosition();
    return ResumeRecord{State.CurrentIndex, position, entryInPlay_};
}

void PlaybackController::TimerTick() {
    // While a file opens the player still holds the one before it: nothing to read or show yet.
    if (player_.Opening()) return;
    Guarded([this] {
        double duration = player_.Duration();
        double position = player_.CurrentPosition();
        TimerDecision decision =
            DecideTimerTick(position, duration, State.ResumePending, State.SavedPosition);
        view_.SetProgressMax(decision.progressMax);
        view_.SetProgressPosition(decision.progressPosition);
        player_.SetVisible(decision.showVideo);
        // Repeats Play's seek once the player knows the length, on whatever file plays now.
        if (decision.applyResume) {
            player_.SetCurrentPosition(State.SavedPosition);
            State.ResumePending = false;
        }
        if (decision.prepareNext) PrepareNext();
    });
}

void PlaybackController::SeekBy(int seconds) {
    if (player_.Opening()) return;
    Guarded([this, seconds] {
        double position = player_.CurrentPosition();
        player_.SetCurrentPosition(SeekTarget(position, player_.Duration(), seconds));
        view_.SetProgressPosition(RoundHalfEven(player_.CurrentPosition()));
    });
}

void PlaybackController::ProgressClick(int x) {
    if (player_.Opening()) return;
    try {
        auto position = ProgressClickPosition(x, view_.ProgressMax(), view_.ProgressWidth());
        if (!position) return;
        view_.SetProgressPosition(*position);
        player_.SetCurrentPosition(view_.ProgressPosition());
    } catch (...) {
    }
}

}  // namespace kv
