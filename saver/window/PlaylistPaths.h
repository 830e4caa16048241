#pragma once
// Which path of a chosen file the playlist file (ANSI text) can hold without changing it.
#include <optional>
#include <string>

namespace kv {

// The path itself when every character has an exact ANSI form; otherwise its short (8.3) form
// when the file system gives one that has; otherwise nothing: storing the path as a different
// one would point the playlist at another file or at none.
std::optional<std::wstring> StorablePlaylistPath(const std::wstring& path);

}  // namespace kv
