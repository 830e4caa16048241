#pragma once
// The transport of a Media Foundation session: what the session is told for each call, and
// where the file stands meanwhile. A session starts at a place only from stopped (Wine's
// ignores a place while it runs), cannot pause while stopped, and its clock reads 0 once it
// has ended and while it stops: the transport keeps the place the session cannot.
//
//   a seek: Stop now, Start at the place on the Stopped event, then the state asked for
//   meanwhile (Pause or Stop) on the Started event; a start that lands elsewhere refused it.
#include <optional>

namespace kv {

struct SessionOrder {
    enum class Call { None, Start, Resume, Pause, Stop };
    Call call = Call::None;
    double at = 0;  // Start: where
};

class SessionTransport {
public:
    // A start that lands further than this from its place refused the seek.
    static constexpr double kSeekSlackSeconds = 1.0;

    // The file plays from its start.
    void Opened();
    SessionOrder Play();
    SessionOrder Pause();
    // position: where the file stands now (Position).
    SessionOrder Stop(double position);
    // seconds: within the file.
    SessionOrder Seek(double seconds);
    // The session's own events.
    SessionOrder SessionStopped();
    struct Started {
        SessionOrder order;
        std::optional<double> refused;  // the place of a seek the session would not go to
    };
    Started SessionStarted(double clock);
    void Ended() { ended_ = true; }

    double Position(double clock, double duration) const;
    bool Running() const { return run_ == Run::Running; }
    bool Seeking() const { return seekTo_.has_value(); }

private:
    enum class Run { Stopped, Paused, Running };
    bool SessionStands() const { return run_ == Run::Stopped || (run_ == Run::Paused && !sessionPaused_); }

    Run run_ = Run::Stopped;
    bool sessionPaused_ = false;  // paused in the session, not only here
    bool ended_ = false;
    double stoppedAt_ = 0;
    std::optional<double> seekTo_;
    Run afterSeek_ = Run::Running;
};

}  // namespace kv
