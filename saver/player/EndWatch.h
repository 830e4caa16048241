#pragma once
// Decides when the open file has ended. The graph's end event is the normal signal; when the
// clock runs on past the end and that event never comes (some audio outputs do this), a
// position that stands at or past the length for more than a second while playing counts as
// the end. Either way the end is reported once per file.
//
// The graph may signal its end while the renderer still has pictures to draw: GStreamer ends
// an MPEG program stream about 0.45 s before its last picture shows (its start offset plus the
// display delay), and the renderer counts no pictures here. With a picture the end therefore
// counts kTailHoldMs after the graph's, so every clip shows its last picture.
#include <cstdint>

namespace kv {

class EndWatch {
public:
    static constexpr std::uint32_t kStallMs = 1000;
    // How long the last pictures get after the graph's end.
    static constexpr std::uint32_t kTailHoldMs = 500;

    // A new file: nothing reported yet.
    void Restart();
    // The graph signalled the end; true when this is the file's first reported end and it
    // counts now. With a picture it counts later, through Drain.
    bool SignalEnd(bool picture = false, std::uint32_t nowMs = 0);
    // After SignalEnd with a picture, called on a timer: true once kTailHoldMs after it.
    bool Drain(std::uint32_t nowMs);
    // A seek while the last pictures are drawn (a Stop, say): the file plays on, and its end
    // is to come again.
    void Seeked() { draining_ = false; }
    // Called on a timer; true once when the playing position has stood at or past the length
    // for more than kStallMs. Not playing (paused, stopped) is never a stall.
    // nowMs is a 32-bit tick count (GetTickCount) and may wrap.
    bool Check(double position, double duration, bool playing, std::uint32_t nowMs);
    bool Ended() const { return ended_; }
    // The graph has ended and the last pictures may still be drawn.
    bool Draining() const { return draining_; }

private:
    bool ended_ = false;
    bool atEnd_ = false;
    std::uint32_t atEndSinceMs_ = 0;
    bool draining_ = false;
    std::uint32_t drainSinceMs_ = 0;
};

}  // namespace kv
