#pragma once
// The desktop's monitors as the system reports them, turned into a full-screen layout.
#include "saver/host/MonitorLayout.h"

namespace kv {

// Where a full-screen run's window and picture go on the monitors attached now.
CoverLayout CurrentCoverLayout();

}  // namespace kv
