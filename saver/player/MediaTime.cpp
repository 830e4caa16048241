#include "saver/player/MediaTime.h"

#include <cmath>

namespace kv {

double SecondsFromMediaTime(std::int64_t units) { return double(units) / kMediaUnitsPerSecond; }

std::int64_t MediaTimeFromSeconds(double seconds) {
    if (!(seconds > 0)) return 0;
    double units = std::round(seconds * kMediaUnitsPerSecond);
    // 2^63 is the first double past the int64 range.
    if (units >= 9223372036854775808.0) return INT64_MAX;
    return std::int64_t(units);
}

}  // namespace kv
