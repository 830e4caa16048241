#include "saver/player/AnsweringWait.h"

namespace kv {

WaitEnd WaitAnswering(HANDLE handle, DWORD timeoutMs, const MessageDispatch& dispatch) {
    return PumpMessages(dispatch, timeoutMs, handle);
}

}  // namespace kv
