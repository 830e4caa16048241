#pragma once
// The one message pump of every loop but the run's own. A quit request it meets is posted
// again, so that the loops outside it see it too, and the pumping ends there.
#include <windows.h>

#include <functional>

namespace kv {

enum class WaitEnd { Signalled, TimedOut, Quit };

using MessageDispatch = std::function<void(MSG&)>;

// Dispatches every message already queued; false when it met a quit request.
bool DispatchQueued(const MessageDispatch& dispatch);

// Dispatches messages as they arrive until handle is signalled (never, when null) or done()
// holds (looked at every few milliseconds; never, when empty), for at least timeoutMs.
WaitEnd PumpMessages(const MessageDispatch& dispatch, DWORD timeoutMs, HANDLE handle = nullptr,
                     const std::function<bool()>& done = {});

}  // namespace kv
