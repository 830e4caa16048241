#include "saver/window/PlaybackController.h"

#include <utility>

#include "framework/Exception.h"
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
    } catch (const std::exception& e) {
        // Over the saver no one could answer a report: the run goes on.
        view_.LogFailure(e.what());
    }
}

// Opens path for the given phase; false when the player refused it at once.
bool PlaybackController::BeginOpen(PlaybackPhase phase, const std::wstring& path) {
    nextPrepared_ = false;
    entryInPlay_ = path;
    phase_ = phase;
    earlySeeks_.clear();
    try {
        player_.Open(path);
        return true;
    } catch (const std::exception& e) {
        failure_ = e.what();
        phase_ = PlaybackPhase::Idle;
        entryInPlay_.clear();
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
    if (phase_ == PlaybackPhase::Starting || phase_ == PlaybackPhase::ResumeWait) {
        // The toggle finds a start under way: the file pauses once it has started.
        toggleWaits_ = !toggleWaits_;
        view_.ShowPauseImage(!toggleWaits_);
        return;
    }
    if (State.IsPlaying) {
        Guarded([this] { Pause(); });
        return;
    }
    try {
        StartCurrentEntry();
    } catch (const std::exception& e) {
        view_.LogFailure(e.what());  // Play's second half stays silent in every mode
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
    view_.CancelResumeWait();
    phase_ = PlaybackPhase::Idle;
    toggleWaits_ = false;
    entryInPlay_.clear();
    player_.SetVisible(false);
    player_.Stop();
    bool configuration = view_.ConfigurationMode();
    if (configuration) view_.AttachPlayerToPreview();
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
    startAt_ = State.SavedPosition;
    if (!BeginOpen(PlaybackPhase::Starting, path) && !configuration) Advance();
}

// The start is over: the file goes to where it was to start, and the toggle is on.
void PlaybackController::FinishStart(bool seek) {
    view_.CancelResumeWait();
    phase_ = PlaybackPhase::Idle;
    if (seek) player_.SetCurrentPosition(startAt_);
    State.IsPlaying = true;
    if (std::exchange(toggleWaits_, false)) Pause();
}

void PlaybackController::ResumeWaitOver() {
    if (phase_ != PlaybackPhase::ResumeWait) return;
    try {
        FinishStart(true);
    } catch (const std::exception& e) {
        view_.LogFailure(e.what());  // Play's second half stays silent in every mode
    }
}

void PlaybackController::StopClick() {
    Guarded([this] {
        // Whatever was under way: an open goes on, but its file stays stopped and rewound.
        view_.CancelResumeWait();
        phase_ = PlaybackPhase::Idle;
        toggleWaits_ = false;
        earlySeeks_.clear();
        State.IsPlaying = false;
        entryInPlay_.clear();
        player_.SetCurrentPosition(0);
        player_.Pause();
        player_.SetVisible(false);
        view_.RepaintWindow();
    });
}

void PlaybackController::EndOfStream() {
    Guarded([this] {
        // A file shorter than Play's half second: its start is over, without the seek.
        if (phase_ == PlaybackPhase::ResumeWait) FinishStart(false);
        Advance();
    });
}

void PlaybackController::Advance() {
    if (view_.PlaylistCount() <= 0) return;
    player_.Stop();
    AdvanceFrom(0);
}

// Skips forward over entries that are missing or cannot be opened, wrapping after the last,
// for at most one lap: an entry that is gone must not keep the ones after it from their turn,
// and a playlist where nothing plays costs one try per entry. A failed open comes back here
// with the entries tried so far.
void PlaybackController::AdvanceFrom(int32_t tried) {
    const int32_t count = view_.PlaylistCount();
    while (tried < count) {
        State.CurrentIndex = NextIndex(State.CurrentIndex, count);
        ++tried;
        std::wstring path = view_.PlaylistPath(State.CurrentIndex);
        if (!view_.FileExists(path)) continue;
        player_.Stop();
        lapTried_ = tried;
        startAt_ = 0;
        if (BeginOpen(PlaybackPhase::Advancing, path)) return;
        if (view_.ConfigurationMode()) throw Exception(failure_);
    }
    phase_ = PlaybackPhase::Idle;
    entryInPlay_.clear();
}

void PlaybackController::FileOpened() {
    if (phase_ == PlaybackPhase::Starting) {
        try {
            startAt_ = TakeEarlySeeks(startAt_, player_.Duration());
            // A run outside the panel shows its first picture at the place it resumes: its
            // wait used to come before the window first showed.
            if (view_.ConfigurationMode()) player_.SetVisible(true);
            phase_ = PlaybackPhase::ResumeWait;
            view_.StartResumeWait();
        } catch (const std::exception& e) {
            phase_ = PlaybackPhase::Idle;  // Play's second half stays silent in every mode
            view_.LogFailure(e.what());
        }
    } else if (phase_ == PlaybackPhase::Advancing) {
        phase_ = PlaybackPhase::Idle;
        Guarded([this] {
            double duration = player_.Duration();
            view_.SetProgressMax(RoundHalfEven(duration));
            if (earlySeeks_.empty()) return;
            player_.SetCurrentPosition(TakeEarlySeeks(0, duration));
            view_.SetProgressPosition(RoundHalfEven(player_.CurrentPosition()));
        });
    }
    // Otherwise Stop came first: the file stays as Stop left it.
}

void PlaybackController::FileFailed(const std::string& reason) {
    const PlaybackPhase phase = phase_;
    if (phase != PlaybackPhase::Starting && phase != PlaybackPhase::Advancing) return;
    phase_ = PlaybackPhase::Idle;
    entryInPlay_.clear();
    const bool configuration = view_.ConfigurationMode();
    if (phase == PlaybackPhase::Starting) {
        // Play's own file: silent in the panel; a full-screen run goes on with the playlist.
        if (!configuration) Guarded([this] { Advance(); });
        return;
    }
    if (configuration) throw Exception(reason);
    Guarded([this] { AdvanceFrom(lapTried_); });
}

// The seeks asked for while the file opened, in turn, from position in a file of duration.
double PlaybackController::TakeEarlySeeks(double position, double duration) {
    for (const EarlySeek& seek : earlySeeks_)
        position = seek.absolute ? seek.value : SeekTarget(position, duration, int32_t(seek.value));
    earlySeeks_.clear();
    return position;
}

std::optional<ResumeRecord> PlaybackController::ResumeRecordAtClose() {
    if (entryInPlay_.empty()) return std::nullopt;
    double position = phase_ == PlaybackPhase::Idle ? player_.CurrentPosition() : startAt_;
    return ResumeRecord{State.CurrentIndex, position, entryInPlay_};
}

void PlaybackController::TimerTick() {
    Guarded([this] {
        double duration = player_.Duration();
        double position = player_.CurrentPosition();
        TimerDecision decision =
            DecideTimerTick(position, duration, State.ResumePending, State.SavedPosition);
        view_.SetProgressMax(decision.progressMax);
        view_.SetProgressPosition(decision.progressPosition);
        player_.SetVisible(decision.showVideo && !(phase_ == PlaybackPhase::ResumeWait && !view_.ConfigurationMode()));
        // Repeats Play's seek once the player knows the length, on whatever file plays now.
        if (decision.applyResume) {
            player_.SetCurrentPosition(State.SavedPosition);
            State.ResumePending = false;
        }
        if (decision.prepareNext) PrepareNext();
    });
}

void PlaybackController::SeekBy(int seconds) {
    if (phase_ == PlaybackPhase::Starting || phase_ == PlaybackPhase::Advancing) {
        earlySeeks_.push_back({false, double(seconds)});  // the length is not known yet
        return;
    }
    Guarded([this, seconds] {
        if (phase_ == PlaybackPhase::ResumeWait) {
            // The file is to start elsewhere: the key moves that place.
            startAt_ = SeekTarget(startAt_, player_.Duration(), seconds);
            view_.SetProgressPosition(RoundHalfEven(startAt_));
            return;
        }
        double position = player_.CurrentPosition();
        player_.SetCurrentPosition(SeekTarget(position, player_.Duration(), seconds));
        view_.SetProgressPosition(RoundHalfEven(player_.CurrentPosition()));
    });
}

void PlaybackController::ProgressClick(int x) {
    try {
        auto position = ProgressClickPosition(x, view_.ProgressMax(), view_.ProgressWidth());
        if (!position) return;
        view_.SetProgressPosition(*position);
        double to = view_.ProgressPosition();
        if (phase_ == PlaybackPhase::Starting || phase_ == PlaybackPhase::Advancing)
            earlySeeks_.push_back({true, to});
        else if (phase_ == PlaybackPhase::ResumeWait)
            startAt_ = to;
        else
            player_.SetCurrentPosition(to);
    } catch (const std::exception& e) {
        view_.LogFailure(e.what());  // the click stays silent in every mode
    }
}

}  // namespace kv
