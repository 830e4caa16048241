#include "saver/window/PlaybackRules.h"

#include <cmath>
#include <limits>

namespace kv {
namespace {

constexpr double kInt32Max = std::numeric_limits<int32_t>::max();
constexpr double kInt32Min = std::numeric_limits<int32_t>::min();

}  // namespace

int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    if (value >= kInt32Max) return std::numeric_limits<int32_t>::max();
    if (value <= kInt32Min) return std::numeric_limits<int32_t>::min();
    // Within this range value - floor(value) is exact, so the halfway test is too.
    double lower = std::floor(value);
    double fraction = value - lower;
    double result = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) result = lower + 1.0;
    return static_cast<int32_t>(result);
}

int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= kInt32Max) return std::numeric_limits<int32_t>::max();
    if (value <= kInt32Min) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

bool IndexInPlaylist(int32_t index, int32_t count) {
    return index >= 0 && index < count;
}

int32_t NextIndex(int32_t current, int32_t count) {
    int64_t next = int64_t{current} + 1;
    return next >= 0 && next < count ? static_cast<int32_t>(next) : 0;
}

std::optional<int32_t> FirstUsableAfter(int32_t current, int32_t count,
                                        const std::function<bool(int32_t)>& usable) {
    int32_t index = current;
    for (int32_t tried = 0; tried < count; ++tried) {
        index = NextIndex(index, count);
        if (usable(index)) return index;
    }
    return std::nullopt;
}

double SeekTarget(double position, double duration, int32_t deltaSeconds) {
    double target = position + deltaSeconds;
    if (duration < target) target = position;
    if (target < 0.0 || std::isnan(target)) target = 0.0;
    return target;
}

std::optional<int32_t> ProgressClickPosition(int32_t x, int32_t max, int32_t width) {
    if (width <= 0) return std::nullopt;
    float ratio = static_cast<float>(static_cast<double>(max) / width);
    return RoundHalfEven(static_cast<double>(x) * ratio);
}

TimerDecision DecideTimerTick(double position, double duration, bool resumePending,
                              double savedPosition) {
    TimerDecision decision;
    decision.progressMax = RoundHalfEven(duration);
    decision.progressPosition = TruncateToInt32(position);
    // Written so that a NaN position keeps the video hidden.
    decision.showVideo = position >= kVideoShowsFromSeconds;
    decision.applyResume = resumePending && position > 0.0 && duration > savedPosition;
    decision.prepareNext = decision.showVideo && duration > 0.0 && duration - position <= kPrepareAheadSeconds;
    return decision;
}

}  // namespace kv
