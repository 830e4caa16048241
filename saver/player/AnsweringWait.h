#pragma once
// Waits that keep the window answering: every message that arrives meanwhile is dispatched.
#include <windows.h>

#include <functional>

#include "framework/MessagePump.h"

namespace kv {

// The wait a player uses while DirectShow works on the graph: until handle is signalled or
// timeoutMs have passed, dispatching the messages that arrive (framework/MessagePump.h); a quit
// request ends it and is put back for the caller's loop.
using AnsweringWait = std::function<WaitEnd(HANDLE handle, DWORD timeoutMs)>;

}  // namespace kv
