#include "saver/player/AnsweringWait.h"

namespace kv {

WaitEnd WaitAnswering(HANDLE handle, DWORD timeoutMs, const MessageDispatch& dispatch) {
    const DWORD start = GetTickCount();
    const DWORD count = handle ? 1 : 0;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(int(msg.wParam));
                return WaitEnd::Quit;
            }
            dispatch(msg);
        }
        if (handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) return WaitEnd::Signalled;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return WaitEnd::TimedOut;
        MsgWaitForMultipleObjects(count, &handle, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

}  // namespace kv
