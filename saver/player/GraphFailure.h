#pragma once
// DirectShow results turned into the program's errors.
#include <windows.h>

#include <string>

namespace kv {

// The description of a failed DirectShow or system call, never a bare code.
std::string DescribeFailure(HRESULT hr);
// Throws kv::Exception with that description when hr is a failure.
void Check(HRESULT hr);

}  // namespace kv
