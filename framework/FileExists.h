#pragma once
// Whether a path names a file: the one rule of the programs (a directory does not count).
#include <string>

namespace kv {

// ERROR_SUCCESS (0) when path names an existing file; otherwise why not: the system's error,
// or ERROR_FILE_NOT_FOUND for a directory.
unsigned long FileMissingReason(const std::wstring& path);
bool FileExists(const std::wstring& path);
// A path in the system code page, as the settings files hold it.
bool FileExists(const std::string& ansiPath);

}  // namespace kv
