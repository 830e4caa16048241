#pragma once
// Where the generated test clips are, as a Windows path.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "tests/win/support/WinTestKit.h"

namespace kv::test {

inline std::wstring ClipsFolder() {
    const wchar_t* dir = _wgetenv(L"KINOVELA_CLIPS");
    if (!dir || !*dir) throw std::runtime_error("KINOVELA_CLIPS is not set");
    return WinePath(dir);
}

// Path of a generated clip, as Wine sees it.
inline std::wstring Clip(const wchar_t* name) { return ClipsFolder() + L"\\" + name; }
// A path in the clips folder where no file is.
inline std::wstring MissingClip(const wchar_t* name) { return ClipsFolder() + L"\\missing-" + name; }

}  // namespace kv::test
