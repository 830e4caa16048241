#include "setup/Installer.h"

#include <windows.h>

#include "framework/Exception.h"
#include "framework/Scoped.h"
#include "framework/Text.h"
#include "saver/window/SettingsFiles.h"
#include "setup/InstallRules.h"

namespace kv {

EmbeddedFile FindEmbeddedFile(const char* type, const char* name) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceA(self, name, type);
    HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw Exception(ResourceNotFoundMessage(name));
    return {data, size_t(SizeofResource(self, found))};
}

EmbeddedFile FindEmbeddedSaver() { return FindEmbeddedFile(kSaverResourceType, kSaverResourceName); }

std::string InstalledSaverTarget() { return InstalledSaverPath(GetSettingsFolder()); }

void WriteWholeFile(const std::string& ansiPath, const EmbeddedFile& content) {
    ScopedFile file(CreateFileA(ansiPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        throw Exception(CannotCreateFileMessage(Narrow(AnsiToWide(ansiPath)), SystemErrorText(error)));
    }
    DWORD written = 0;
    const bool complete = WriteFile(file.Get(), content.data, DWORD(content.size), &written, nullptr) &&
                          written == content.size && CloseHandle(file.Release());
    if (!complete) {
        file.Reset();
        DeleteFileA(ansiPath.c_str());
        throw Exception(kStreamWriteError);
    }
}

void StartInstalledSaver(const std::string& ansiPath) {
    // The saver goes on by itself; its success is not ours to report.
    WinExec(InstallCommandLine(ansiPath).c_str(), SW_SHOWNORMAL);
}

}  // namespace kv
