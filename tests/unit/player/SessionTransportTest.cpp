#include "saver/player/SessionTransport.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using Call = SessionOrder::Call;

void ExpectOrder(const SessionOrder& order, Call call, double at = 0) {
    EXPECT_EQ(order.call, call);
    if (call == Call::Start) EXPECT_DOUBLE_EQ(order.at, at);
}

TEST(player_SessionTransport, ASeekWhilePlayingStopsThenStartsAtThePlaceAndReadsThePlaceMeanwhile) {
    SessionTransport t;
    t.Opened();
    ExpectOrder(t.Seek(5), Call::Stop);
    EXPECT_EQ(t.Position(0, 10), 5);  // the stopping session's clock reads 0
    ExpectOrder(t.Seek(6), Call::None);  // the seek under way goes there instead
    ExpectOrder(t.SessionStopped(), Call::Start, 6);
    auto started = t.SessionStarted(6.01);
    EXPECT_FALSE(started.refused);
    ExpectOrder(started.order, Call::None);
    EXPECT_EQ(t.Position(6.2, 10), 6.2);
}

TEST(player_SessionTransport, CallsDuringASeekTakeEffectOnceItHasStarted) {
    SessionTransport t;
    t.Opened();
    t.Seek(3);
    ExpectOrder(t.Pause(), Call::None);
    ExpectOrder(t.SessionStopped(), Call::Start, 3);
    ExpectOrder(t.SessionStarted(3).order, Call::Pause);
    EXPECT_EQ(t.Position(3.02, 10), 3.02);

    // A Stop asked during the seek: the session stays stopped at the place.
    SessionTransport s;
    s.Opened();
    s.Seek(4);
    s.Stop(1);
    ExpectOrder(s.SessionStopped(), Call::None);
    EXPECT_EQ(s.Position(0, 10), 4);
    ExpectOrder(s.Play(), Call::Start, 4);
}

TEST(player_SessionTransport, AStartThatLandsElsewhereRefusedTheSeek) {
    SessionTransport t;
    t.Opened();
    t.Seek(7);
    t.SessionStopped();
    auto started = t.SessionStarted(0.1);
    ASSERT_TRUE(started.refused);
    EXPECT_EQ(*started.refused, 7);
}

TEST(player_SessionTransport, AStoppedSessionKeepsItsPlaceAndPausesWithoutBeingTold) {
    SessionTransport t;
    t.Opened();
    ExpectOrder(t.Stop(2.5), Call::Stop);
    EXPECT_EQ(t.Position(0, 10), 2.5);
    ExpectOrder(t.Seek(8), Call::None);  // no session call: it starts there next
    ExpectOrder(t.Pause(), Call::None);  // a stopped session cannot pause
    EXPECT_EQ(t.Position(0, 10), 8);
    ExpectOrder(t.Seek(1), Call::None);
    ExpectOrder(t.Play(), Call::Start, 1);
    ExpectOrder(t.Pause(), Call::Pause);
    ExpectOrder(t.Play(), Call::Resume);
    ExpectOrder(t.Play(), Call::None);
}

TEST(player_SessionTransport, AnEndedFileReadsItsLengthUntilItIsSought) {
    SessionTransport t;
    t.Opened();
    t.Ended();
    EXPECT_EQ(t.Position(0, 9.5), 9.5);
    t.Seek(2);
    t.SessionStopped();
    t.SessionStarted(2);
    EXPECT_EQ(t.Position(2.1, 9.5), 2.1);
}

}  // namespace
}  // namespace kv
