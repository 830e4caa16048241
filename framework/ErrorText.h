#pragma once
// Texts of the general error report; free of window handles.
#include <string>

namespace kv {

// The message as the error box shows it: a full stop is added when it lacks one.
std::string WithFullStop(const std::string& message);

}  // namespace kv
