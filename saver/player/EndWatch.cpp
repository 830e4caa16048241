#include "saver/player/EndWatch.h"

namespace kv {

void EndWatch::Restart() {
    ended_ = false;
    atEnd_ = false;
    draining_ = false;
}

bool EndWatch::SignalEnd(bool picture, std::uint32_t nowMs) {
    atEnd_ = false;
    if (ended_ || draining_) return false;
    if (!picture) {
        ended_ = true;
        return true;
    }
    draining_ = true;
    drainSinceMs_ = nowMs;
    return false;
}

bool EndWatch::Drain(std::uint32_t nowMs) {
    if (!draining_) return false;
    // 32-bit difference: correct across the tick counter's wrap.
    if (std::uint32_t(nowMs - drainSinceMs_) < kTailHoldMs) return false;
    draining_ = false;
    ended_ = true;
    return true;
}

bool EndWatch::Check(double position, double duration, bool playing, std::uint32_t nowMs) {
    if (ended_ || draining_) return false;
    if (!playing || !(duration > 0) || !(position >= duration)) {
        atEnd_ = false;
        return false;
    }
    if (!atEnd_) {
        atEnd_ = true;
        atEndSinceMs_ = nowMs;
        return false;
    }
    // 32-bit difference: correct across the tick counter's wrap after 49.7 days.
    if (std::uint32_t(nowMs - atEndSinceMs_) <= kStallMs) return false;
    ended_ = true;
    return true;
}

}  // namespace kv
