#pragma once
// Descriptions of the DirectShow failures that opening a file can produce. Some systems'
// quartz has no texts for them (Wine answers with the bare code), so the player carries its own.
#include <cstdint>

namespace kv {

// The description of a DirectShow HRESULT without its full stop, or nullptr when not known.
const char* KnownFailureText(std::uint32_t hr);

}  // namespace kv
