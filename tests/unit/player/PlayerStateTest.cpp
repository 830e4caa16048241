#include <gtest/gtest.h>

#include <string>

#include "saver/player/PlayerStateMachine.h"
#include "saver/player/SlotRules.h"

namespace kv {
namespace {

using RunState = PlayerCommand::Run;

TEST(player_States, CallsDuringAnOpenTakeEffectWhenTheFileIsReadyAndTheLastOfEachKindWins) {
    struct Case {
        const char* calls;  // p play, a pause, s stop, k seek to 7
        PlayerState state;  // once opened
        RunState run;
        double seek;        // -1: none
    };
    const Case cases[] = {
        {"", PlayerState::Playing, RunState::Play, -1},    // it plays by itself
        {"s", PlayerState::Stopped, RunState::Stop, -1},
        {"ks", PlayerState::Stopped, RunState::Stop, 7},   // Stop rewinds through a seek of its own
        {"ap", PlayerState::Playing, RunState::Play, -1},
        {"ka", PlayerState::Paused, RunState::Pause, 7},
        {"sp", PlayerState::Playing, RunState::Play, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calls);
        PlayerStateMachine m;
        m.Open();
        for (const char* call = c.calls; *call; ++call) {
            PlayerCommand now = *call == 'p' ? m.Play() : *call == 'a' ? m.Pause() : *call == 's' ? m.Stop() : m.Seek(7);
            EXPECT_EQ(now.run, RunState::Keep);  // nothing reaches the engine yet
            EXPECT_FALSE(now.seek);
        }
        EXPECT_EQ(m.State(), PlayerState::Opening);
        EXPECT_EQ(m.StartPosition(), c.seek < 0 ? 0 : c.seek);
        PlayerCommand opened = m.Opened();
        EXPECT_EQ(m.State(), c.state);
        EXPECT_EQ(opened.run, c.run);
        EXPECT_EQ(opened.seek.value_or(-1), c.seek);
    }
}

TEST(player_States, OnceReadyCallsPassStraightThroughAndWithNothingOpenNothingDoes) {
    PlayerStateMachine m;
    EXPECT_EQ(m.Play().run, RunState::Keep);
    EXPECT_FALSE(m.Seek(3).seek);
    EXPECT_EQ(m.Opened().run, RunState::Keep);  // no open under way: an old answer
    EXPECT_EQ(m.State(), PlayerState::Empty);

    m.Open();
    m.Opened();
    EXPECT_EQ(m.Pause().run, RunState::Pause);
    EXPECT_EQ(m.State(), PlayerState::Paused);
    EXPECT_EQ(m.Seek(3).seek, 3.0);
    EXPECT_EQ(m.Stop().run, RunState::Stop);
    EXPECT_EQ(m.Opened().run, RunState::Keep);
    EXPECT_EQ(m.State(), PlayerState::Stopped);

    m.Open();  // a new file: what was asked of the last one is forgotten
    m.Close();  // it failed
    EXPECT_EQ(m.State(), PlayerState::Empty);
    EXPECT_EQ(m.StartPosition(), 0);
}

// Slots: '.' Empty, 'L' Loading, 'R' Loaded, 'C' Current; upper case holds the file asked for
// except C/c: 'C' holds it; '~' marks the slot that stands in.
SlotFacts Slot(const char* s) {
    SlotFacts f;
    switch (s[0]) {
    case 'l': case 'L': f.state = SlotState::Loading; break;
    case 'r': case 'R': f.state = SlotState::Loaded; break;
    case 'c': case 'C': f.state = SlotState::Current; break;
    default: break;
    }
    f.holdsPath = s[0] == 'L' || s[0] == 'R' || s[0] == 'C';
    f.standsIn = s[1] == '~';
    return f;
}

TEST(player_Slots, AnOpenTakesThePreparedGraphAwaitsItsLoadOrLoadsIntoTheFreeOne) {
    struct Case {
        const char* a;
        const char* b;
        bool ended;
        OpenStep step;
        int slot;
    };
    const Case cases[] = {
        {"C ", ". ", true, OpenStep::Rewind, 0},   // the file that has just ended starts again
        {"C ", ". ", false, OpenStep::Load, 1},    // the same file while it plays: a fresh copy
        {"c ", "R ", false, OpenStep::Switch, 1},  // prepared: at once
        {"c ", "L ", false, OpenStep::Await, 1},   // being prepared: its load answers
        {"c ", "l ", false, OpenStep::Queue, 1},   // the free graph prepares another file
        {"c ", "r~", false, OpenStep::Load, 1},    // the free graph still stands in: it goes
        {". ", ". ", false, OpenStep::Load, 0},    // nothing open
        {".~", "l ", false, OpenStep::Load, 0},    // another open under way: not waited for
        {"l ", ".~", false, OpenStep::Load, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + "|" + c.b);
        const SlotFacts slots[2] = {Slot(c.a), Slot(c.b)};
        OpenPlan plan = PlanOpen(slots, c.ended);
        EXPECT_EQ(plan.step, c.step);
        EXPECT_EQ(plan.slot, c.slot);
    }
}

TEST(player_Slots, APreparationLoadsOnlyIntoAFreeGraphThatIsNeitherBusyNorStandingIn) {
    struct Case {
        const char* a;
        const char* b;
        int slot;
    };
    const Case prepares[] = {
        {"c ", ". ", 1}, {"c ", "r ", 1}, {"c ", "R ", -1}, {"c ", "L ", -1},
        {"c ", "l ", -1}, {"c ", ".~", -1}, {"C ", ". ", -1},
    };
    for (const Case& c : prepares) {
        SCOPED_TRACE(std::string(c.a) + "|" + c.b);
        const SlotFacts slots[2] = {Slot(c.a), Slot(c.b)};
        EXPECT_EQ(PlanPrepare(slots), c.slot);
    }
}

}  // namespace
}  // namespace kv
