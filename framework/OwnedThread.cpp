#include "framework/OwnedThread.h"

#include <atomic>

#include "framework/Exception.h"
#include "framework/Text.h"

namespace kv {

struct OwnedThread::Shared {
    std::function<void()> body;
    std::atomic<bool> ended{false};
};

DWORD WINAPI OwnedThread::Run(void* arg) {
    std::unique_ptr<std::shared_ptr<Shared>> owner(static_cast<std::shared_ptr<Shared>*>(arg));
    Shared& s = **owner;
    s.body();
    s.body = nullptr;
    s.ended = true;
    return 0;
}

OwnedThread::OwnedThread(std::function<void()> body) : shared_(std::make_shared<Shared>()) {
    shared_->body = std::move(body);
    auto* arg = new std::shared_ptr<Shared>(shared_);
    thread_ = CreateThread(nullptr, 0, Run, arg, 0, nullptr);
    if (!thread_) {
        DWORD error = GetLastError();
        delete arg;
        throw Exception(SystemErrorText(error));
    }
}

OwnedThread::~OwnedThread() {
    Join(kJoinBoundMs);
    CloseHandle(thread_);
}

bool OwnedThread::Ended() const { return shared_->ended; }

bool OwnedThread::Join(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed >= ms ? 0 : ms - elapsed;
        DWORD woke = MsgWaitForMultipleObjects(1, &thread_, FALSE, left, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0) return true;
        if (woke != WAIT_OBJECT_0 + 1) return false;  // timed out
        // Delivers the sent messages only; posted ones stay queued.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace kv
