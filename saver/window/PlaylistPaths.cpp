#include "saver/window/PlaylistPaths.h"

#include <windows.h>

#include <vector>

#include "framework/Text.h"

namespace kv {

std::optional<std::string> AnsiPathOf(const std::wstring& path) {
    if (std::optional<std::string> ansi = WideToAnsiExact(path)) return ansi;
    DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    DWORD n = GetShortPathNameW(path.c_str(), buffer.data(), DWORD(buffer.size()));
    if (n == 0 || n >= buffer.size()) return std::nullopt;
    return WideToAnsiExact(std::wstring(buffer.data(), n));
}

std::optional<std::wstring> StorablePlaylistPath(const std::wstring& path) {
    if (Widen(Narrow(path)) == path) return path;
    if (std::optional<std::string> ansi = AnsiPathOf(path)) return AnsiToWide(*ansi);
    return std::nullopt;
}

}  // namespace kv
