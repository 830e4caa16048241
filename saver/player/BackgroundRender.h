#pragma once
// Runs one piece of graph work on a thread of its own: GStreamer probes a file for a quarter
// to most of a second, and the window must go on answering meanwhile.
#include <windows.h>

#include <functional>
#include <memory>

namespace kv {

class BackgroundRender {
public:
    // Starts job() on a new thread in the multithreaded apartment. The job owns what it
    // captures. Throws kv::Exception when no thread can be started.
    explicit BackgroundRender(std::function<HRESULT()> job);
    // Does not wait: a job still running finishes on its own thread and lets go of what it
    // holds there.
    ~BackgroundRender();
    BackgroundRender(const BackgroundRender&) = delete;
    BackgroundRender& operator=(const BackgroundRender&) = delete;

    HANDLE Done() const;     // signalled once the job has returned
    bool Finished() const { return WaitForSingleObject(Done(), 0) == WAIT_OBJECT_0; }
    HRESULT Result() const;  // the job's result; E_PENDING until Done

private:
    struct Shared;
    static DWORD WINAPI Run(void* shared);
    std::shared_ptr<Shared> shared_;
};

}  // namespace kv
