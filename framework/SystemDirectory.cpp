#include "framework/SystemDirectory.h"

#include <windows.h>

#include <vector>

#include "framework/Exception.h"
#include "framework/Text.h"

namespace kv {
namespace {

constexpr unsigned kSettingsFolderBufferSize = 1025;

}  // namespace

std::optional<std::string> SystemDirectory(unsigned bufferSize) {
    std::vector<char> buffer(bufferSize + 1, '\0');
    const UINT length = GetSystemDirectoryA(buffer.data(), bufferSize);
    if (length == 0 || length >= bufferSize) return std::nullopt;
    std::string folder(buffer.data(), length);
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

std::string GetSettingsFolder() {
    std::optional<std::string> folder = SystemDirectory(kSettingsFolderBufferSize);
    if (!folder) throw Exception("Cannot find the system directory: " + SystemErrorText(GetLastError()));
    return *folder;
}

HMODULE LoadSystemLibrary(const char* fileName, unsigned bufferSize) {
    std::optional<std::string> folder = SystemDirectory(bufferSize);
    return folder ? LoadLibraryA((*folder + fileName).c_str()) : nullptr;
}

}  // namespace kv
