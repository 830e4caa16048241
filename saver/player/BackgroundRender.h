#pragma once
// Builds a filter graph for a file on a thread of its own: GStreamer probes a file for a
// quarter to most of a second, and the window must go on answering meanwhile.
#include <windows.h>
#include <dshow.h>

#include <memory>
#include <string>

#include "framework/Scoped.h"

namespace kv {

class BackgroundRender {
public:
    // Starts graph->RenderFile(path). Throws kv::Exception when no thread can be started.
    BackgroundRender(ComPtr<IGraphBuilder> graph, const std::wstring& path);
    // Does not wait: a render still running finishes on its own thread and lets go of its
    // graph there.
    ~BackgroundRender();
    BackgroundRender(const BackgroundRender&) = delete;
    BackgroundRender& operator=(const BackgroundRender&) = delete;

    HANDLE Done() const;    // signalled once RenderFile has returned
    HRESULT Result() const; // RenderFile's result; E_PENDING until Done

private:
    struct Shared;
    static DWORD WINAPI Run(void* shared);
    std::shared_ptr<Shared> shared_;
};

}  // namespace kv
