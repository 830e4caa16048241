#include "saver/window/SettingsFiles.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "framework/Exception.h"
#include "framework/FileExists.h"
#include "framework/Scoped.h"
#include "framework/SystemDirectory.h"
#include "framework/Text.h"
#include "saver/window/PlaylistText.h"
#include "saver/window/SettingsCodec.h"

namespace kv {
namespace {

constexpr DWORD kIoChunk = 1u << 20;

std::string ShownPath(const std::string& ansiPath) { return Narrow(AnsiToWide(ansiPath)); }

[[noreturn]] void ThrowFileError(const char* what, const std::string& path, DWORD error) {
    std::string message = std::string(what) + " " + ShownPath(path);
    if (error != ERROR_SUCCESS) message += ": " + SystemErrorText(error);
    throw Exception(message);
}

// ERROR_SUCCESS once every byte is written, else the system's error.
DWORD WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = DWORD(std::min<size_t>(bytes.size() - done, kIoChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        done += written;
    }
    return ERROR_SUCCESS;
}

// Writes, flushes and closes the staging file; on any failure removes it again. The errors
// name the file the user knows, the one being replaced.
void WriteStagingFile(const std::string& staging, const std::string& bytes, const std::string& target) {
    ScopedFile file(CreateFileA(staging.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowFileError("Cannot write", target, GetLastError());
    DWORD error = WriteAll(file.Get(), bytes);
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
    if (error == ERROR_SUCCESS && !CloseHandle(file.Release())) error = GetLastError();
    if (error == ERROR_SUCCESS) return;
    file.Reset();
    DeleteFileA(staging.c_str());
    ThrowFileError("Cannot write", target, error);
}

}  // namespace

std::string SettingsIniPath() { return GetSettingsFolder() + "g_screen.ini"; }
std::string PlaylistFilePath() { return GetSettingsFolder() + "g_screen.files"; }

char LocaleDecimalSeparator() {
    char buffer[8];
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    return n > 0 ? DecimalSeparatorFromLocale(std::string_view(buffer, size_t(n - 1))) : '.';
}

IniFile::IniFile(std::string ansiPath, char decimalSeparator)
    : path_(std::move(ansiPath)), decimalSeparator_(decimalSeparator) {}

bool IniFile::Exists() const { return FileExists(path_); }

std::string IniFile::ReadString(const std::string& section, const std::string& key) const {
    char buffer[kReadBufferSize];
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                             sizeof buffer, path_.c_str());
    return std::string(buffer, std::min<DWORD>(n, sizeof buffer - 1));
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t defaultValue) const {
    return ParseIniInteger(ReadString(section, key)).value_or(defaultValue);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ParseIniBool(ReadString(section, key), defaultValue);
}

double IniFile::ReadFloat(const std::string& section, const std::string& key,
                          double defaultValue) const {
    return ParseIniFloat(ReadString(section, key), decimalSeparator_).value_or(defaultValue);
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos)
        throw Exception("Cannot write a line break into " + ShownPath(path_));
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
        ThrowFileError("Cannot write", path_, GetLastError());
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    WriteString(section, key, FormatIniInteger(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, FormatIniBool(value));
}

void IniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
    WriteString(section, key, FormatIniFloat(value, decimalSeparator_));
}

void IniFile::Flush() {
    // Documented to return FALSE after flushing, whether or not the flush succeeded.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
}

std::optional<std::vector<std::wstring>> ReadPlaylistFile(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        ThrowFileError("Cannot open", path, error);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) ThrowFileError("Cannot read", path, GetLastError());
    if (uint64_t(size.QuadPart) > kMaxPlaylistFileBytes)
        throw Exception("The playlist file " + ShownPath(path) + " is too large");

    std::string bytes(size_t(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = DWORD(std::min<size_t>(bytes.size() - done, kIoChunk));
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr))
            ThrowFileError("Cannot read", path, GetLastError());
        if (got == 0) break;  // the file shrank meanwhile
        done += got;
    }
    bytes.resize(done);
    std::string_view text = bytes;
    const bool utf8 = StripUtf8Mark(text);
    std::vector<std::wstring> paths;
    for (const std::string& line : ParsePlaylistText(text)) paths.push_back(utf8 ? Widen(line) : AnsiToWide(line));
    return paths;
}

std::string PlaylistStagingPath(const std::string& path) { return path + ".new"; }

void WritePlaylistFile(const std::string& path, const std::vector<std::wstring>& entries) {
    std::vector<PlaylistEntryForms> forms;
    forms.reserve(entries.size());
    for (const std::wstring& entry : entries) forms.push_back({WideToAnsiExact(entry), Narrow(entry)});
    const std::string staging = PlaylistStagingPath(path);
    WriteStagingFile(staging, EncodePlaylistFile(forms), path);
    if (!MoveFileExA(staging.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileA(staging.c_str());
        ThrowFileError("Cannot replace", path, error);
    }
}

}  // namespace kv
