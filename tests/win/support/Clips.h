#pragma once
// Where the generated test clips are, as a Windows path.
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace kv::test {

inline std::wstring ClipsFolder() {
    const wchar_t* dir = _wgetenv(L"KINOVELA_CLIPS");
    if (!dir || !*dir) throw std::runtime_error("KINOVELA_CLIPS is not set");
    std::wstring path = dir;
    // The variable comes from the Unix side; Wine maps a Unix path through drive Z:.
    if (path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// Path of a generated clip, as Wine sees it.
inline std::wstring Clip(const wchar_t* name) { return ClipsFolder() + L"\\" + name; }
// A path in the clips folder where no file is.
inline std::wstring MissingClip(const wchar_t* name) { return ClipsFolder() + L"\\missing-" + name; }

}  // namespace kv::test
