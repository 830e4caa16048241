#include "saver/window/WaitPumping.h"

#include "framework/Application.h"

namespace kv {

void WaitPumpingMessages(unsigned ms) { Application.PumpUntil({}, ms); }

}  // namespace kv
