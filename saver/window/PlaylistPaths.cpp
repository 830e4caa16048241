#include "saver/window/PlaylistPaths.h"

#include <windows.h>

#include <vector>

#include "framework/Text.h"

namespace kv {

std::optional<std::wstring> StorablePlaylistPath(const std::wstring& path) {
    if (WideToAnsiExact(path)) return path;
    DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    DWORD n = GetShortPathNameW(path.c_str(), buffer.data(), DWORD(buffer.size()));
    if (n == 0 || n >= buffer.size()) return std::nullopt;
    std::wstring shortPath(buffer.data(), n);
    if (!WideToAnsiExact(shortPath)) return std::nullopt;
    return shortPath;
}

}  // namespace kv
