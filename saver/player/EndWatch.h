#pragma once
// Decides when the open file has ended. The graph's end event is the normal signal; when the
// clock runs on past the end and that event never comes (some audio outputs do this), a
// position that stands at or past the length for more than kStallMs while playing counts as
// the end. Either way the end is reported once per file.
//
// The length is the demuxer's: for an MPEG program stream an estimate that falls short of the
// last picture by the mux delay and more (about 1.2 s as ffmpeg writes them by default), and
// the file plays on to its real end. The stall rule waits well past that.
#include <cstdint>

namespace kv {

class EndWatch {
public:
    static constexpr std::uint32_t kStallMs = 3000;

    // A new file: nothing reported yet.
    void Restart();
    // The graph signalled the end; true when this is the file's first reported end.
    bool SignalEnd();
    // Called on a timer; true once when the playing position has stood at or past the length
    // for more than kStallMs. Not playing (paused, stopped) is never a stall.
    // nowMs is a 32-bit tick count (GetTickCount) and may wrap.
    bool Check(double position, double duration, bool playing, std::uint32_t nowMs);
    bool Ended() const { return ended_; }

private:
    bool ended_ = false;
    bool atEnd_ = false;
    std::uint32_t atEndSinceMs_ = 0;
};

}  // namespace kv
