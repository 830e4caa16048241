#pragma once
// Access to the settings file (an INI file) and the playlist file in the settings folder
// (GetSettingsFolder). Paths and contents are ANSI (system code page) byte strings.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

std::string SettingsIniPath();
std::string PlaylistFilePath();

// The user's decimal separator, '.' when the locale gives none that is usable.
char LocaleDecimalSeparator();

// A private profile file. Reads fall back to the default for missing, empty or unreadable
// values; a failed write raises kv::Exception with the system's description.
class IniFile {
public:
    // Values are read through a buffer of this size, so at most one less comes back.
    static constexpr unsigned kReadBufferSize = 2048;

    explicit IniFile(std::string ansiPath, char decimalSeparator = LocaleDecimalSeparator());

    const std::string& Path() const { return path_; }
    bool Exists() const;

    std::string ReadString(const std::string& section, const std::string& key) const;
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    double ReadFloat(const std::string& section, const std::string& key, double defaultValue) const;

    // Writing creates the file when it is missing. A value with a line break is refused:
    // it would add lines of its own to the file.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void WriteFloat(const std::string& section, const std::string& key, double value);

    // Hands the system's cached copy of the file to the disk.
    void Flush();

private:
    std::string path_;
    char decimalSeparator_;
};

// Larger playlist files are refused rather than read into memory.
constexpr uint64_t kMaxPlaylistFileBytes = 32u * 1024 * 1024;

// The paths of a playlist file; nullopt when there is no such file. The text is in the
// system code page, or UTF-8 when it starts with a UTF-8 byte-order mark. A file that exists
// but cannot be read (held by another program), or is larger than kMaxPlaylistFileBytes,
// raises kv::Exception.
std::optional<std::vector<std::wstring>> ReadPlaylistFile(const std::string& path);

// Replaces the playlist file with the entries, in the code page when they all fit it, else in
// UTF-8 (see EncodePlaylistFile). The new text goes to PlaylistStagingPath(path) first and
// takes the old file's place only once it is complete on disk, so a failure leaves the old
// file whole; it raises kv::Exception naming the playlist file and the system's reason.
void WritePlaylistFile(const std::string& path, const std::vector<std::wstring>& entries);
std::string PlaylistStagingPath(const std::string& path);

}  // namespace kv
