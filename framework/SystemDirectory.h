#pragma once
// The Windows system directory, where the settings live and the system libraries are loaded from.
#include <optional>
#include <string>

namespace kv {

// The folder with a trailing backslash, read into a buffer of bufferSize characters (the
// callers' sizes differ on purpose); nothing when the system gives none or it does not fit.
std::optional<std::string> SystemDirectory(unsigned bufferSize);

}  // namespace kv
