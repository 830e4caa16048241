#include "saver/player/PlayerStateMachine.h"

namespace kv {
namespace {

PlayerCommand::Run RunFor(PlayerState state) {
    switch (state) {
    case PlayerState::Paused: return PlayerCommand::Run::Pause;
    case PlayerState::Stopped: return PlayerCommand::Run::Stop;
    default: return PlayerCommand::Run::Play;
    }
}

}  // namespace

void PlayerStateMachine::Open() {
    state_ = PlayerState::Opening;
    target_ = PlayerState::Playing;
    seek_.reset();
}

PlayerCommand PlayerStateMachine::Opened() {
    if (state_ != PlayerState::Opening) return {};
    PlayerCommand command{seek_, RunFor(target_)};
    state_ = target_;
    seek_.reset();
    return command;
}

void PlayerStateMachine::Close() {
    state_ = PlayerState::Empty;
    seek_.reset();
}

PlayerCommand PlayerStateMachine::Transport(PlayerState to, PlayerCommand::Run run) {
    if (state_ == PlayerState::Empty) return {};
    if (state_ == PlayerState::Opening) {
        target_ = to;
        return {};
    }
    state_ = to;
    return {std::nullopt, run};
}

PlayerCommand PlayerStateMachine::Play() { return Transport(PlayerState::Playing, PlayerCommand::Run::Play); }
PlayerCommand PlayerStateMachine::Pause() { return Transport(PlayerState::Paused, PlayerCommand::Run::Pause); }
PlayerCommand PlayerStateMachine::Stop() { return Transport(PlayerState::Stopped, PlayerCommand::Run::Stop); }

PlayerCommand PlayerStateMachine::Seek(double seconds) {
    if (state_ == PlayerState::Empty) return {};
    if (state_ == PlayerState::Opening) {
        seek_ = seconds;
        return {};
    }
    return {seconds, PlayerCommand::Run::Keep};
}

}  // namespace kv
