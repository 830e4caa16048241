#include "saver/player/EndWatch.h"

namespace kv {

void EndWatch::Restart() {
    ended_ = false;
    atEnd_ = false;
}

bool EndWatch::SignalEnd() {
    atEnd_ = false;
    if (ended_) return false;
    ended_ = true;
    return true;
}

bool EndWatch::Check(double position, double duration, bool playing, std::uint32_t nowMs) {
    if (ended_) return false;
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
