// Input that arrives while a file opens or during Play's half second before its seek: each is
// decided by where the controller stands, none is dropped.
#include "tests/unit/controller/FakePlayback.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kv::test {
namespace {

using Record = std::tuple<int32_t, double, std::string>;

std::optional<Record> RecordOf(PlaybackController& controller) {
    auto record = controller.ResumeRecordAtClose();
    if (!record) return std::nullopt;
    return Record{record->index, record->position, Narrow(record->fileName)};
}

enum class Point { Opening, ResumeWait, Advancing };
enum class Input { Close, Stop, Key, Tick, Play, End };

const char* const kPoints[] = {"while Play opens the file", "during the resume wait", "while the next file opens"};
const char* const kInputs[] = {"a close", "Stop", "keypad 1", "a tick", "Play", "the file's end"};

// A full-screen start that resumes two.mpg at 42 s, taken to the given point.
void Reach(PlaybackRig& rig, Point point) {
    PlaybackState& state = rig.controller.State;
    state.CurrentIndex = 1;
    state.SavedFileName = PlaybackRig::kTwo;
    state.SavedPosition = 42;
    rig.controller.PlayClick();
    if (point == Point::Opening) return;
    rig.Answer();
    if (point == Point::ResumeWait) return;
    rig.Settle();
    rig.controller.EndOfStream();
}

struct PhaseCase {
    Point point;
    Input input;
    std::optional<Record> recordAtInput;  // checked for a close only
    // Once every answer has come and the wait has run out:
    std::string file;
    PlayerState state;
    double position;
    bool isPlaying;
    std::optional<Record> recordAfter;
};

TEST(controller_Phases, EveryInputDuringAnOpenOrTheResumeWaitIsDecidedByThePhase) {
    const Record two42{1, 42.0, "C:\\clips\\two.mpg"}, two52{1, 52.0, "C:\\clips\\two.mpg"};
    const Record three0{2, 0.0, "C:\\clips\\three.wmv"}, three10{2, 10.0, "C:\\clips\\three.wmv"};
    const auto kPlaying = PlayerState::Playing, kPaused = PlayerState::Paused;
    const std::string two = "C:\\clips\\two.mpg", three = "C:\\clips\\three.wmv";
    const PhaseCase cases[] = {
        // The file being opened is recorded with the position it is to start at.
        {Point::Opening, Input::Close, two42, two, kPlaying, 42, true, two42},
        // Stop cancels the start: the file opens stopped and rewound, and nothing is recorded.
        {Point::Opening, Input::Stop, {}, two, kPaused, 0, false, std::nullopt},
        // A key moves the place the file is to start at, once its length is known.
        {Point::Opening, Input::Key, {}, two, kPlaying, 52, true, two52},
        {Point::Opening, Input::Tick, {}, two, kPlaying, 42, true, two42},
        // Play finds a start under way: the toggle pauses the file once it has started.
        {Point::Opening, Input::Play, {}, two, kPaused, 42, false, two42},
        {Point::ResumeWait, Input::Close, two42, two, kPlaying, 42, true, two42},
        {Point::ResumeWait, Input::Stop, {}, two, kPaused, 0, false, std::nullopt},
        {Point::ResumeWait, Input::Key, {}, two, kPlaying, 52, true, two52},
        {Point::ResumeWait, Input::Tick, {}, two, kPlaying, 42, true, two42},
        {Point::ResumeWait, Input::Play, {}, two, kPaused, 42, false, two42},
        // A file shorter than the wait: the start is over and the next file plays from its start.
        {Point::ResumeWait, Input::End, {}, three, kPlaying, 0, true, three0},
        {Point::Advancing, Input::Close, three0, three, kPlaying, 0, true, three0},
        {Point::Advancing, Input::Stop, {}, three, kPaused, 0, false, std::nullopt},
        {Point::Advancing, Input::Key, {}, three, kPlaying, 10, true, three10},
        {Point::Advancing, Input::Tick, {}, three, kPlaying, 0, true, three0},
        {Point::Advancing, Input::Play, {}, three, kPaused, 0, false, three0},
    };
    for (const PhaseCase& c : cases) {
        SCOPED_TRACE(std::string(kInputs[int(c.input)]) + " " + kPoints[int(c.point)]);
        PlaybackRig rig;
        Reach(rig, c.point);
        PlaybackController& controller = rig.controller;
        switch (c.input) {
        case Input::Close: EXPECT_EQ(RecordOf(controller), c.recordAtInput); break;
        case Input::Stop: controller.StopClick(); break;
        case Input::Key: controller.SeekBy(10); break;
        case Input::Tick: controller.TimerTick(); break;
        case Input::Play: controller.PlayClick(); break;
        case Input::End: controller.EndOfStream(); break;
        }
        rig.Settle();
        EXPECT_EQ(Narrow(rig.player.openFile), c.file);
        EXPECT_EQ(rig.player.State(), c.state);
        EXPECT_EQ(rig.player.position, c.position);
        EXPECT_EQ(controller.State.IsPlaying, c.isPlaying);
        EXPECT_EQ(RecordOf(controller), c.recordAfter);
        EXPECT_EQ(controller.Phase(), PlaybackPhase::Idle);
    }
}

TEST(controller_Phases, TheIndexIsSetBeforeTheOpenAndTheToggleOnlyOnceThePositionIsApplied) {
    PlaybackRig rig;
    rig.controller.State.SavedFileName = PlaybackRig::kOne;
    rig.controller.State.SavedPosition = 20;
    rig.controller.PlayClick();
    EXPECT_EQ(rig.controller.State.CurrentIndex, 0);
    rig.Answer();
    EXPECT_FALSE(rig.controller.State.IsPlaying);
    EXPECT_EQ(rig.player.position, 0);  // the picture shows first, then the seek
    rig.Settle();
    EXPECT_TRUE(rig.controller.State.IsPlaying);
    EXPECT_EQ(rig.player.position, 20);
}

TEST(controller_Phases, AnAnswerForAnOpenThatStopCancelledLeavesTheFileAsStopLeftIt) {
    PlaybackRig rig;
    rig.view.configuration = true;
    rig.controller.PlayClick();
    rig.controller.StopClick();
    rig.log.clear();
    rig.Settle();
    EXPECT_TRUE(rig.log.empty());  // no show, no wait, no seek
    EXPECT_FALSE(rig.player.visible);
    // The next Play starts the file again rather than pausing a stopped one.
    rig.controller.PlayClick();
    rig.Settle();
    EXPECT_EQ(rig.Opens(), (std::vector<std::string>{"one.avi"}));
    EXPECT_TRUE(rig.controller.State.IsPlaying);
}

}  // namespace
}  // namespace kv::test
