#include "framework/FileExists.h"

#include <windows.h>

#include "framework/Text.h"

namespace kv {

unsigned long FileMissingReason(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error != ERROR_SUCCESS ? error : ERROR_FILE_NOT_FOUND;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS;
}

bool FileExists(const std::wstring& path) { return FileMissingReason(path) == ERROR_SUCCESS; }

bool FileExists(const std::string& ansiPath) { return FileExists(AnsiToWide(ansiPath)); }

}  // namespace kv
