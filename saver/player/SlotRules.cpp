#include "saver/player/SlotRules.h"

namespace kv {
namespace {

// The graph a new file goes into: never the one whose file is open; of two free ones, rather
// one that stands in than one that is busy loading, rather either than both.
int FreeSlot(const SlotFacts (&slots)[2]) {
    if (slots[0].state == SlotState::Current) return 1;
    if (slots[1].state == SlotState::Current) return 0;
    auto cost = [&](int i) { return (slots[i].state == SlotState::Loading ? 2 : 0) + (slots[i].standsIn ? 1 : 0); };
    return cost(1) < cost(0) ? 1 : 0;
}

}  // namespace

OpenPlan PlanOpen(const SlotFacts (&slots)[2], bool currentEnded) {
    for (int i = 0; i < 2; ++i) {
        if (!slots[i].holdsPath) continue;
        if (slots[i].state == SlotState::Current && currentEnded) return {OpenStep::Rewind, i};
        if (slots[i].state == SlotState::Loaded) return {OpenStep::Switch, i};
        if (slots[i].state == SlotState::Loading) return {OpenStep::Await, i};
    }
    int free = FreeSlot(slots);
    return {slots[free].state == SlotState::Loading ? OpenStep::Queue : OpenStep::Load, free};
}

int PlanPrepare(const SlotFacts (&slots)[2]) {
    for (const SlotFacts& slot : slots)
        if (slot.holdsPath && slot.state != SlotState::Empty) return -1;
    int free = FreeSlot(slots);
    const SlotFacts& slot = slots[free];
    return slot.state == SlotState::Loading || slot.standsIn ? -1 : free;
}

}  // namespace kv
