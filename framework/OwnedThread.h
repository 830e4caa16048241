#pragma once
// A thread with one owner, who joins it: nothing the thread uses may go before it has ended,
// and the process must not end with it still inside a library.
#include <windows.h>

#include <functional>
#include <memory>

namespace kv {

class OwnedThread {
public:
    // Starts body() on a new thread. Throws kv::Exception when no thread can be started.
    explicit OwnedThread(std::function<void()> body);
    // Joins the thread (Join with kJoinBoundMs); a thread still running then is left to end
    // on its own, with what its body holds.
    ~OwnedThread();
    OwnedThread(const OwnedThread&) = delete;
    OwnedThread& operator=(const OwnedThread&) = delete;

    // The longest a destructor waits: long enough for a cancelled file load to end.
    static constexpr DWORD kJoinBoundMs = 3000;

    bool Ended() const;
    // Waits at most ms for the thread to end; true when it has. Meanwhile this thread answers
    // the messages that other threads send to its windows (a thread that sends to one of them
    // would otherwise wait for us while we wait for it), and dispatches nothing else.
    bool Join(DWORD ms);

private:
    struct Shared;
    static DWORD WINAPI Run(void* shared);
    std::shared_ptr<Shared> shared_;
    HANDLE thread_ = nullptr;
};

}  // namespace kv
