#pragma once
// Which kept sound renderer may take a new connection. Wine's sound renderer keeps its play
// position from the previous connection: connected again with a smaller buffer (fewer bytes a
// second) it writes outside the new buffer and the process dies. A renderer is therefore safe
// for a format of at least as many bytes a second as its last one.
#include <cstdint>
#include <vector>

namespace kv {

// lastRates: each kept renderer's bytes a second at its last connection (0: never connected).
// Gives the renderer for a connection of rate bytes a second: one whose last rate was the same,
// else the current one when it is safe, else the safe one with the highest last rate; -1 when
// none is safe and a new renderer is needed. Files that alternate between formats thus settle
// on one renderer per format.
int ChooseSoundRenderer(const std::vector<std::uint32_t>& lastRates, int current, std::uint32_t rate);

}  // namespace kv
