#include "saver/player/BackgroundRender.h"

#include <atomic>

#include "framework/Exception.h"
#include "framework/Scoped.h"
#include "framework/Text.h"

namespace kv {

struct BackgroundRender::Shared {
    std::function<HRESULT()> job;
    ScopedHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<HRESULT> result{E_PENDING};
};

DWORD WINAPI BackgroundRender::Run(void* arg) {
    ScopedCoInitialize com(COINIT_MULTITHREADED);
    std::unique_ptr<std::shared_ptr<BackgroundRender::Shared>> owner(
        static_cast<std::shared_ptr<BackgroundRender::Shared>*>(arg));
    BackgroundRender::Shared& s = **owner;
    HRESULT hr = E_UNEXPECTED;
    try {
        hr = s.job();
    } catch (...) {
    }
    s.job = nullptr;  // what the job holds goes on this thread, in this apartment
    s.result = hr;
    SetEvent(s.done.Get());
    return 0;
}

BackgroundRender::BackgroundRender(std::function<HRESULT()> job) : shared_(std::make_shared<Shared>()) {
    shared_->job = std::move(job);
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
