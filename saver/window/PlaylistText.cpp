#include "saver/window/PlaylistText.h"

namespace kv {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view UpToLineBreak(std::string_view entry) {
    return entry.substr(0, entry.find_first_of(std::string_view("\r\n\0", 3)));
}

template <typename String>
String DisplayNameOf(const String& path) {
    using Char = typename String::value_type;
    const Char separators[] = {Char('\\'), Char(':'), Char(0)};
    const size_t last = path.find_last_of(separators);
    return last == String::npos ? path : path.substr(last + 1);
}

// All the way in, so that an entry read once reads the same after writing.
std::string_view Unquoted(std::string_view line) {
    while (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
    return line;
}

}  // namespace

std::vector<std::string> ParsePlaylistText(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> entries;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            entries.emplace_back(Unquoted(bytes.substr(start)));
            break;
        }
        entries.emplace_back(Unquoted(bytes.substr(start, end - start)));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return entries;
}

bool StripUtf8Mark(std::string_view& bytes) {
    if (bytes.substr(0, kUtf8Mark.size()) != kUtf8Mark) return false;
    bytes.remove_prefix(kUtf8Mark.size());
    return true;
}

std::string FormatPlaylistText(const std::vector<std::string>& entries) {
    size_t total = 0;
    for (const std::string& entry : entries) total += entry.size() + 2;
    std::string text;
    text.reserve(total);
    for (const std::string& entry : entries) {
        text += UpToLineBreak(entry);
        text += "\r\n";
    }
    return text;
}

std::string EncodePlaylistFile(const std::vector<PlaylistEntryForms>& entries) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const PlaylistEntryForms& entry : entries) {
        // A text that began with the mark's bytes would be read back as UTF-8.
        const bool readsAsMark = lines.empty() && entry.ansi && entry.ansi->rfind(kUtf8Mark, 0) == 0;
        if (!entry.ansi || readsAsMark) {
            lines.clear();
            for (const PlaylistEntryForms& e : entries) lines.push_back(e.utf8);
            return std::string(kUtf8Mark) + FormatPlaylistText(lines);
        }
        lines.push_back(*entry.ansi);
    }
    return FormatPlaylistText(lines);
}

std::string DisplayName(const std::string& path) { return DisplayNameOf(path); }
std::wstring DisplayName(const std::wstring& path) { return DisplayNameOf(path); }

}  // namespace kv
