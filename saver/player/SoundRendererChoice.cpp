#include "saver/player/SoundRendererChoice.h"

namespace kv {

int ChooseSoundRenderer(const std::vector<std::uint32_t>& lastRates, int current, std::uint32_t rate) {
    int count = static_cast<int>(lastRates.size());
    for (int i = 0; i < count; ++i)
        if (lastRates[i] == rate) return i;
    if (current >= 0 && current < count && lastRates[current] <= rate) return current;
    int best = -1;
    for (int i = 0; i < count; ++i)
        if (lastRates[i] < rate && (best < 0 || lastRates[i] > lastRates[best])) best = i;
    return best;
}

}  // namespace kv
