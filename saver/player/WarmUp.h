#pragma once
// Gets DirectShow, GStreamer and the sound device ready on a thread of its own while the
// program builds its window: under Wine each costs tens of milliseconds the first time, and
// the first file would otherwise pay them after the window is built.

namespace kv {

// Starts the warm-up and returns at once. Harmless when nothing is played later.
void WarmUpPlayback();

}  // namespace kv
