#pragma once
// Media time of the filter graph (100-nanosecond units) and the seconds the callers use.
#include <cstdint>

namespace kv {

constexpr double kMediaUnitsPerSecond = 10'000'000.0;
// A file has begun once its position reaches this: the picture shows from here on, and what
// waits for the file to have begun need not wait for the next timer tick.
constexpr double kBegunSeconds = 0.02;

double SecondsFromMediaTime(std::int64_t units);
// Rounded to the nearest unit; negative and not-a-number targets become 0, huge ones saturate.
std::int64_t MediaTimeFromSeconds(double seconds);

}  // namespace kv
