#include "saver/window/WaitPumping.h"

#include <windows.h>

#include "framework/Application.h"

namespace kv {

void WaitPumpingMessages(unsigned ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                Application.QuitReceived();
                PostQuitMessage(int(msg.wParam));
                return;
            }
            Application.Dispatch(msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed > ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed + 1, QS_ALLINPUT);
    }
}

}  // namespace kv
