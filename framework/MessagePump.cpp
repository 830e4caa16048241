#include "framework/MessagePump.h"

#include <algorithm>

namespace kv {

bool DispatchQueued(const MessageDispatch& dispatch) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return false;
        }
        dispatch(msg);
    }
    return true;
}

WaitEnd PumpMessages(const MessageDispatch& dispatch, DWORD timeoutMs, HANDLE handle,
                     const std::function<bool()>& done) {
    // A condition may change on another thread without a message: look again this often.
    constexpr DWORD kPollMs = 5;
    const DWORD start = GetTickCount();
    for (;;) {
        if (!DispatchQueued(dispatch)) return WaitEnd::Quit;
        if (handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) return WaitEnd::Signalled;
        if (done && done()) return WaitEnd::Signalled;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed > timeoutMs) return WaitEnd::TimedOut;
        const DWORD left = timeoutMs - elapsed + 1;
        MsgWaitForMultipleObjects(handle ? 1 : 0, &handle, FALSE, done ? std::min(kPollMs, left) : left, QS_ALLINPUT);
    }
}

}  // namespace kv
