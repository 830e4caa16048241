#pragma once
// Waiting while the window keeps working.

namespace kv {

// Waits at least ms milliseconds, dispatching every message as it arrives and sleeping in
// between. A quit request ends the wait early and is put back for the message loop.
void WaitPumpingMessages(unsigned ms);

}  // namespace kv
