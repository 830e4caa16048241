#pragma once
// Runs one piece of graph work on a thread of its own: GStreamer probes a file for a quarter
// to most of a second, and the window must go on answering meanwhile. The thread is owned:
// its end is posted to the window, and the owner joins it.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "framework/OwnedThread.h"

namespace kv {

class BackgroundRender {
public:
    // Starts job() in the multithreaded apartment. Once it has returned and let go of what it
    // captured (on its own thread, in its apartment), posts message with wParam token to
    // window. Throws kv::Exception when no thread can be started.
    BackgroundRender(std::function<HRESULT()> job, HWND window, UINT message, WPARAM token);
    // Joins the thread: see OwnedThread.
    ~BackgroundRender() = default;
    BackgroundRender(const BackgroundRender&) = delete;
    BackgroundRender& operator=(const BackgroundRender&) = delete;

    HRESULT Result() const { return *result_; }  // E_PENDING until the job has returned
    bool Join(DWORD ms) { return thread_.Join(ms); }

private:
    std::shared_ptr<std::atomic<HRESULT>> result_;
    OwnedThread thread_;
};

}  // namespace kv
