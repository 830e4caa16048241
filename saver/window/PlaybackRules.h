#pragma once
// The arithmetic and the small decisions of playback, free of the window and the player.
#include <cstdint>
#include <functional>
#include <optional>

#include "saver/player/MediaTime.h"

namespace kv {

// Below this position the video surface stays hidden: the file has not really begun.
constexpr double kVideoShowsFromSeconds = kBegunSeconds;
// Play waits this long after opening a file before it applies the saved position.
constexpr unsigned kResumeWaitMs = 500;
// The next entry is made ready this long before the playing file ends: building a graph
// takes a quarter to most of a second.
constexpr double kPrepareAheadSeconds = 3.0;

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Values beyond 32 bits saturate; NaN gives 0.
int32_t RoundHalfEven(double value);
// Toward zero, saturating like RoundHalfEven; NaN gives 0.
int32_t TruncateToInt32(double value);

bool IndexInPlaylist(int32_t index, int32_t count);
// The entry after current in a playlist of count > 0 entries: the first again after the last,
// and also when current lies outside the playlist.
int32_t NextIndex(int32_t current, int32_t count);

// The advance's order: the entries that follow current in a playlist of count > 0 entries,
// wrapping after the last, for one lap at most, tried in turn until usable(index) holds. Gives
// the index that held, or nullopt. Both the advance and the preparation of the next file use it.
std::optional<int32_t> FirstUsableAfter(int32_t current, int32_t count,
                                        const std::function<bool(int32_t)>& usable);

// Where a seek by deltaSeconds from position lands: a target past duration leaves the position
// as it is, one before the start becomes 0. A NaN target becomes 0.
double SeekTarget(double position, double duration, int32_t deltaSeconds);

// The bar position for a click at x on a bar of the given width whose maximum is max. The
// ratio max / width is held as a 32-bit float. Not clamped: the bar keeps its own range.
// nullopt when the bar has no width.
std::optional<int32_t> ProgressClickPosition(int32_t x, int32_t max, int32_t width);

// What one timer tick does, from the player's position and length.
struct TimerDecision {
    int32_t progressMax;
    int32_t progressPosition;
    bool showVideo;
    bool applyResume;  // seek to the saved position and clear the pending resume
    bool prepareNext;  // the file has begun and is in its last kPrepareAheadSeconds
};
TimerDecision DecideTimerTick(double position, double duration, bool resumePending,
                              double savedPosition);

}  // namespace kv
