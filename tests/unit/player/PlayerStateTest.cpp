#include <gtest/gtest.h>

#include <cctype>
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
        {"", PlayerState::Playing, RunState::Play, -1},  // it plays by itself
        {"ks", PlayerState::Stopped, RunState::Stop, 7},
        {"ap", PlayerState::Playing, RunState::Play, -1},
        {"ka", PlayerState::Paused, RunState::Pause, 7},
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
        EXPECT_EQ(m.StartPosition(), c.seek < 0 ? 0 : c.seek);
        PlayerCommand opened = m.Opened();
        EXPECT_EQ(m.State(), c.state);
        EXPECT_EQ(opened.run, c.run);
        EXPECT_EQ(opened.seek.value_or(-1), c.seek);
        // Once ready, calls pass straight through; an answer for no open changes nothing.
        EXPECT_EQ(m.Seek(3).seek, 3.0);
        EXPECT_EQ(m.Opened().run, RunState::Keep);
    }
    PlayerStateMachine empty;
    EXPECT_EQ(empty.Play().run, RunState::Keep);
    EXPECT_EQ(empty.State(), PlayerState::Empty);
}

// A graph: '.' Empty, 'l' Loading, 'r' Loaded, 'c' Current; upper case when it holds the file
// asked for; '~' when it stands in with the previous file's last picture.
SlotFacts Slot(const char* s) {
    SlotFacts f;
    char state = char(tolower(s[0]));
    f.state = state == 'l' ? SlotState::Loading : state == 'r' ? SlotState::Loaded
            : state == 'c' ? SlotState::Current : SlotState::Empty;
    f.holdsPath = s[0] != state;
    f.standsIn = s[1] == '~';
    return f;
}

TEST(player_Slots, AFileGoesIntoTheGraphThatHoldsItOrElseTheFreeOneAndAPreparationOnlyIntoAnIdleOne) {
    struct Case {
        const char* a;
        const char* b;
        bool ended;
        OpenStep step;
        int slot;
        int prepare;  // -1: no preparation
    };
    const Case cases[] = {
        {"C ", ". ", true, OpenStep::Rewind, 0, -1},   // the file that has just ended starts again
        {"C ", ". ", false, OpenStep::Load, 1, -1},    // the same file while it plays: a fresh copy
        {"c ", "R ", false, OpenStep::Switch, 1, -1},  // prepared: at once
        {"c ", "L ", false, OpenStep::Await, 1, -1},   // being prepared: its load answers
        {"c ", "l ", false, OpenStep::Queue, 1, -1},   // the free graph loads another file
        {"c ", "r~", false, OpenStep::Load, 1, -1},    // the free graph still stands in
        {"c ", "r ", false, OpenStep::Load, 1, 1},
        {". ", ". ", false, OpenStep::Load, 0, 0},     // nothing open
        {".~", "l ", false, OpenStep::Load, 0, -1},    // another open under way: not waited for
        {"l ", ".~", false, OpenStep::Load, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + "|" + c.b);
        const SlotFacts slots[2] = {Slot(c.a), Slot(c.b)};
        OpenPlan plan = PlanOpen(slots, c.ended);
        EXPECT_EQ(plan.step, c.step);
        EXPECT_EQ(plan.slot, c.slot);
        EXPECT_EQ(PlanPrepare(slots), c.prepare);
    }
}

}  // namespace
}  // namespace kv
