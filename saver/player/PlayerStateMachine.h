#pragma once
// What the media player control is doing with its file, whatever engine plays it, and what
// each transport call does in each state. While a file opens nothing plays yet: the calls
// made meanwhile are kept and take effect once the file is ready, as if they had come then.
//
//   Empty --Open--> Opening --Opened--> Playing <--Play/Pause/Stop--> Paused, Stopped
//   Opening --Failed--> Empty;  any state --Open--> Opening;  any state --Close--> Empty
#include <optional>

namespace kv {

enum class PlayerState { Empty, Opening, Playing, Paused, Stopped };

// What the engine is to do now: seek first, then take the run state.
struct PlayerCommand {
    enum class Run { Keep, Play, Pause, Stop };
    std::optional<double> seek;
    Run run = Run::Keep;
};

class PlayerStateMachine {
public:
    PlayerState State() const { return state_; }
    bool Opening() const { return state_ == PlayerState::Opening; }

    // A file is asked for; it plays by itself once ready.
    void Open();
    // The engine holds the file, standing on its first picture: what to do with it. Nothing
    // when no open is under way (an answer for an open that another replaced).
    PlayerCommand Opened();
    // The file could not be opened, or was let go: nothing is open.
    void Close();

    PlayerCommand Play();
    PlayerCommand Pause();
    PlayerCommand Stop();
    PlayerCommand Seek(double seconds);

    // While opening: where the file is to start (0 unless a seek came meanwhile).
    double StartPosition() const { return seek_.value_or(0.0); }

private:
    PlayerCommand Transport(PlayerState to, PlayerCommand::Run run);

    PlayerState state_ = PlayerState::Empty;
    PlayerState target_ = PlayerState::Playing;  // while opening: the state the file takes
    std::optional<double> seek_;                 // while opening: where it starts
};

}  // namespace kv
