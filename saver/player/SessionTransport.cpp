#include "saver/player/SessionTransport.h"

#include <cmath>

namespace kv {

using Call = SessionOrder::Call;

void SessionTransport::Opened() {
    *this = SessionTransport();
    run_ = Run::Running;
}

SessionOrder SessionTransport::Play() {
    if (seekTo_) {
        afterSeek_ = Run::Running;
        return {};
    }
    if (run_ == Run::Running) return {};
    SessionOrder order = sessionPaused_ ? SessionOrder{Call::Resume} : SessionOrder{Call::Start, stoppedAt_};
    run_ = Run::Running;
    sessionPaused_ = false;
    return order;
}

SessionOrder SessionTransport::Pause() {
    if (seekTo_) {
        afterSeek_ = Run::Paused;
        return {};
    }
    bool running = run_ == Run::Running;
    run_ = Run::Paused;
    if (!running) return {};
    sessionPaused_ = true;
    return {Call::Pause};
}

SessionOrder SessionTransport::Stop(double position) {
    if (seekTo_) {
        afterSeek_ = Run::Stopped;
        return {};
    }
    if (run_ == Run::Stopped) return {};
    stoppedAt_ = position;
    bool stands = SessionStands();
    run_ = Run::Stopped;
    sessionPaused_ = false;
    return stands ? SessionOrder{} : SessionOrder{Call::Stop};
}

SessionOrder SessionTransport::Seek(double seconds) {
    ended_ = false;
    if (seekTo_) {
        seekTo_ = seconds;  // the seek under way starts here instead
        return {};
    }
    if (SessionStands()) {
        stoppedAt_ = seconds;
        return {};
    }
    afterSeek_ = run_;
    seekTo_ = seconds;
    return {Call::Stop};
}

SessionOrder SessionTransport::SessionStopped() {
    if (!seekTo_) return {};
    if (afterSeek_ == Run::Stopped) {
        stoppedAt_ = *seekTo_;
        seekTo_.reset();
        run_ = Run::Stopped;
        sessionPaused_ = false;
        return {};
    }
    return {Call::Start, *seekTo_};
}

SessionTransport::Started SessionTransport::SessionStarted(double clock) {
    if (!seekTo_) return {};
    double target = *seekTo_;
    seekTo_.reset();
    run_ = Run::Running;
    sessionPaused_ = false;
    if (std::abs(clock - target) > kSeekSlackSeconds) return {{}, target};
    if (afterSeek_ == Run::Paused) return {Pause(), std::nullopt};
    if (afterSeek_ == Run::Stopped) return {Stop(target), std::nullopt};
    return {};
}

double SessionTransport::Position(double clock, double duration) const {
    if (seekTo_) return *seekTo_;
    if (SessionStands()) return stoppedAt_;
    return ended_ && duration > 0 ? duration : clock;
}

}  // namespace kv
