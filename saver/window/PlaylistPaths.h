#pragma once
// Which form of a file's path the settings file and the playlist file can hold without
// naming another file or none.
#include <optional>
#include <string>

namespace kv {

// The path as an ANSI (system code page) text: the path itself when every character has an
// exact form there, else its short (8.3) form when the file system gives one that has;
// nothing otherwise. Never a '?' or a best-fit look-alike, which could name another file.
std::optional<std::string> AnsiPathOf(const std::wstring& path);

// The path a chosen file is added to the playlist with: the path itself, which the playlist
// file holds in UTF-8 where the code page cannot; its ANSI form for a name that is not even
// valid UTF-16 (a lone surrogate); nothing when neither exists.
std::optional<std::wstring> StorablePlaylistPath(const std::wstring& path);

}  // namespace kv
