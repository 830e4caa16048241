#pragma once
// Waits that keep the window answering: every message that arrives meanwhile is dispatched.
#include <windows.h>

#include <functional>

#include "framework/MessagePump.h"

namespace kv {

// Waits until handle is signalled (never, when it is null) or timeoutMs have passed, dispatching
// the messages that arrive. A quit request ends the wait and is put back for the caller's loop.
WaitEnd WaitAnswering(HANDLE handle, DWORD timeoutMs, const MessageDispatch& dispatch);

// The wait a player uses while DirectShow works on the graph.
using AnsweringWait = std::function<WaitEnd(HANDLE handle, DWORD timeoutMs)>;

}  // namespace kv
