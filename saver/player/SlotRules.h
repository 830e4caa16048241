#pragma once
// Which of the player's two graphs a file goes into. Each graph (GraphSlot) is in one state:
//
//   Empty --load--> Loading --loaded--> Loaded --switch--> Current --next file--> Empty
//   Loading --failed or cancelled--> Empty;  Loading --overran--> replaced by a new Empty graph
//
// A Loading graph belongs to its load's thread; an Empty one may still show the previous
// file's last picture until the next file has begun (it stands in).
namespace kv {

enum class SlotState { Empty, Loading, Loaded, Current };

struct SlotFacts {
    SlotState state = SlotState::Empty;
    bool holdsPath = false;  // the file asked for is the one it holds or loads
    bool standsIn = false;   // its surface shows the previous file's last picture
};

enum class OpenStep {
    Rewind,  // the open file itself, played to its end: it starts again in its own graph
    Switch,  // a graph holds it ready: it takes over at once
    Await,   // a graph is loading it: that load's end answers
    Queue,   // the free graph is loading another file: that load is cancelled, this one follows
    Load,    // it is loaded afresh into the free graph
};

struct OpenPlan {
    OpenStep step;
    int slot;
};

// An open of a file; currentEnded: the Current graph's file has played to its end.
OpenPlan PlanOpen(const SlotFacts (&slots)[2], bool currentEnded);
// A preparation of the file that follows: the slot to load it into, or -1 when the file is
// open or on its way already, or the free graph is busy or still stands in.
int PlanPrepare(const SlotFacts (&slots)[2]);

}  // namespace kv
