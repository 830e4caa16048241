#include "saver/player/BackgroundRender.h"

#include <atomic>

#include "framework/Exception.h"
#include "framework/Text.h"

namespace kv {

struct BackgroundRender::Shared {
    ComPtr<IGraphBuilder> graph;
    std::wstring path;
    ScopedHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<HRESULT> result{E_PENDING};
};

DWORD WINAPI BackgroundRender::Run(void* arg) {
    HRESULT co = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
        std::unique_ptr<std::shared_ptr<BackgroundRender::Shared>> owner(
            static_cast<std::shared_ptr<BackgroundRender::Shared>*>(arg));
        BackgroundRender::Shared& s = **owner;
        s.result = s.graph->RenderFile(s.path.c_str(), nullptr);
        SetEvent(s.done.Get());
    }
    if (SUCCEEDED(co)) CoUninitialize();
    return 0;
}

BackgroundRender::BackgroundRender(ComPtr<IGraphBuilder> graph, const std::wstring& path)
    : shared_(std::make_shared<Shared>()) {
    shared_->graph = std::move(graph);
    shared_->path = path;
    if (!shared_->done) throw Exception(SystemErrorText(GetLastError()));
    auto* arg = new std::shared_ptr<Shared>(shared_);
    ScopedHandle thread(CreateThread(nullptr, 0, Run, arg, 0, nullptr));
    if (!thread) {
        DWORD error = GetLastError();
        delete arg;
        throw Exception(SystemErrorText(error));
    }
}

BackgroundRender::~BackgroundRender() = default;

HANDLE BackgroundRender::Done() const { return shared_->done.Get(); }

HRESULT BackgroundRender::Result() const { return shared_->result; }

}  // namespace kv
