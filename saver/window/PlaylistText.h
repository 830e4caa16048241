#pragma once
// The playlist file's text: one full path per line. Pure; SettingsFiles does the file access.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Splits at CR, LF and CR LF (one pair ends one line). Every line is an entry, an empty one
// too; a last line without terminator counts; a NUL byte ends the list. A line wrapped in
// double quotes (as the shell's "Copy as path" gives it) loses them: no path holds a quote.
std::vector<std::string> ParsePlaylistText(std::string_view bytes);

// Removes a UTF-8 byte-order mark (as Notepad writes) from the front of a playlist file's
// bytes; true when there was one, and the paths are then UTF-8 rather than the code page's.
bool StripUtf8Mark(std::string_view& bytes);

// CR LF after every entry, the last one included; no entries give "". An entry is written
// up to its first CR, LF or NUL, which no real path holds: the entry count, and with it the
// indices, survive a reading back.
std::string FormatPlaylistText(const std::vector<std::string>& entries);

// One entry as each of the playlist file's two encodings gives it: its exact form in the
// system code page (none when a character has none there) and its UTF-8 form.
struct PlaylistEntryForms {
    std::optional<std::string> ansi;
    std::string utf8;
};

// The playlist file's bytes: the code page's when every entry has an exact form there (what
// stored files and older readers expect), otherwise every entry in UTF-8 behind a byte-order
// mark, so that no name is written as another.
std::string EncodePlaylistFile(const std::vector<PlaylistEntryForms>& entries);

// The name shown for a path: the text after its last backslash or colon, the whole text when
// it has neither. The narrow form works bytewise, which suits single-byte code pages; for a
// double-byte code page convert to wide first.
std::string DisplayName(const std::string& path);
std::wstring DisplayName(const std::wstring& path);

}  // namespace kv
